#include "velk/exceptions.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace velk;
using namespace velk::secure_elt_err;

using Thrower = void (*)();
using Catcher = bool (*)(Thrower);

template <typename E>
void throwIt() {
    throw E("Invalid offset");
}

template <typename Handler>
bool catches(Thrower thrower) {
    try {
        thrower();
    } catch (Handler const&) {
        return true;
    } catch (...) {
        return false;
    }
    return false;
}

// The tree as the table of each class and its parent; a class must be caught exactly by the
// handlers of itself and of its ancestors.
struct Node {
    std::string name;
    std::string parent;
    Thrower thrower;
    Catcher catches;
};

std::vector<Node> const tree = {
    {"logic_error", "", throwIt<std::logic_error>, catches<std::logic_error>},
    {"runtime_error", "", throwIt<std::runtime_error>, catches<std::runtime_error>},
    {"InputError", "logic_error", throwIt<InputError>, catches<InputError>},
    {"CodingError", "InputError", throwIt<CodingError>, catches<CodingError>},
    {"VelkException", "runtime_error", throwIt<VelkException>, catches<VelkException>},
    {"CommunicationError", "runtime_error", throwIt<CommunicationError>,
     catches<CommunicationError>},
    {"DataError", "runtime_error", throwIt<DataError>, catches<DataError>},
    {"MissingData", "DataError", throwIt<MissingData>, catches<MissingData>},
    {"StateIncorrect", "runtime_error", throwIt<StateIncorrect>, catches<StateIncorrect>},
    {"AuthenticationRequired", "StateIncorrect", throwIt<AuthenticationRequired>,
     catches<AuthenticationRequired>},
    {"EnvironmentError", "runtime_error", throwIt<EnvironmentError>, catches<EnvironmentError>},
    {"SecureElementError", "runtime_error", throwIt<SecureElementError>,
     catches<SecureElementError>},
    {"RequestError", "SecureElementError", throwIt<RequestError>, catches<RequestError>},
    {"WrongLength", "RequestError", throwIt<WrongLength>, catches<WrongLength>},
    {"WrongData", "RequestError", throwIt<WrongData>, catches<WrongData>},
    {"PinPolicyError", "RequestError", throwIt<PinPolicyError>, catches<PinPolicyError>},
    {"FeatureRestricted", "RequestError", throwIt<FeatureRestricted>, catches<FeatureRestricted>},
    {"PathInvalid", "RequestError", throwIt<PathInvalid>, catches<PathInvalid>},
    {"FeatureUnsupported", "RequestError", throwIt<FeatureUnsupported>,
     catches<FeatureUnsupported>},
    {"AlgorithmUnsupported", "FeatureUnsupported", throwIt<AlgorithmUnsupported>,
     catches<AlgorithmUnsupported>},
    {"ResponseError", "SecureElementError", throwIt<ResponseError>, catches<ResponseError>},
    {"PersistentStateError", "SecureElementError", throwIt<PersistentStateError>,
     catches<PersistentStateError>},
    {"CommandNotAllowed", "PersistentStateError", throwIt<CommandNotAllowed>,
     catches<CommandNotAllowed>},
    {"AuthMethodBlocked", "PersistentStateError", throwIt<AuthMethodBlocked>,
     catches<AuthMethodBlocked>},
    {"RefDataNotFound", "PersistentStateError", throwIt<RefDataNotFound>, catches<RefDataNotFound>},
    {"FileNotFound", "PersistentStateError", throwIt<FileNotFound>, catches<FileNotFound>},
    {"ReferenceExistsError", "PersistentStateError", throwIt<ReferenceExistsError>,
     catches<ReferenceExistsError>},
    {"TransientStateError", "SecureElementError", throwIt<TransientStateError>,
     catches<TransientStateError>},
    {"PreconditionError", "TransientStateError", throwIt<PreconditionError>,
     catches<PreconditionError>},
    {"SecurityCondNotSatisfied", "TransientStateError", throwIt<SecurityCondNotSatisfied>,
     catches<SecurityCondNotSatisfied>},
    {"ResourceError", "SecureElementError", throwIt<ResourceError>, catches<ResourceError>},
    {"OutOfMemory", "ResourceError", throwIt<OutOfMemory>, catches<OutOfMemory>},
};

std::set<std::string> selfAndAncestors(std::string name) {
    std::set<std::string> result;
    while (!name.empty()) {
        result.insert(name);
        auto const node = std::find_if(tree.begin(), tree.end(),
                                       [&name](Node const& n) { return n.name == name; });
        name = node->parent;
    }
    return result;
}

TEST(ExceptionTree, EachClassIsCaughtByItsAncestorsAndByNoOtherHandler) {
    for (Node const& thrown : tree) {
        std::set<std::string> const caughtAs = selfAndAncestors(thrown.name);
        for (Node const& handler : tree) {
            EXPECT_EQ(caughtAs.count(handler.name) == 1, handler.catches(thrown.thrower))
                << thrown.name << " caught as " << handler.name;
        }
    }
}

TEST(ExceptionTree, WhatReturnsTheMessageExactly) {
    try {
        throwIt<WrongData>();
        FAIL() << "nothing thrown";
    } catch (std::exception const& e) {
        EXPECT_STREQ("Invalid offset", e.what());
    }
    EXPECT_STREQ("Referenced object not found",
                 RefDataNotFound(std::string("Referenced object not found")).what());
}

TEST(ExceptionTree, CopyKeepsTypeAndMessage) {
    MissingData const original("Missing key file");
    try {
        throw original;
    } catch (DataError const& e) {
        EXPECT_STREQ("Missing key file", e.what());
        EXPECT_NE(nullptr, dynamic_cast<MissingData const*>(&e));
    }
}

}  // namespace
