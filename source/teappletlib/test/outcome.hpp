#pragma once

#include <exception>
#include <functional>
#include <string>

#include "iso7816/interchange/exceptions.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::test {

// Runs call and renders what came out, so that one table row can hold either a result or a
// failure: the result's own text, or "<exception class>: <message>".
inline std::string outcomeOf(std::function<std::string()> const& call) {
    namespace se = velk::secure_elt_err;
    try {
        return call();
    } catch (iso7816::interchange::LogicalChannelsNotSupported const& e) {
        return std::string("LogicalChannelsNotSupported: ") + e.what();
    } catch (iso7816::interchange::FileIdExistsError const& e) {
        return std::string("FileIdExistsError: ") + e.what();
    } catch (iso7816::interchange::ShortFileIdExistsError const& e) {
        return std::string("ShortFileIdExistsError: ") + e.what();
    } catch (se::AlgorithmUnsupported const& e) {
        return std::string("AlgorithmUnsupported: ") + e.what();
    } catch (se::FeatureUnsupported const& e) {
        return std::string("FeatureUnsupported: ") + e.what();
    } catch (se::WrongLength const& e) {
        return std::string("WrongLength: ") + e.what();
    } catch (se::WrongData const& e) {
        return std::string("WrongData: ") + e.what();
    } catch (se::PinPolicyError const& e) {
        return std::string("PinPolicyError: ") + e.what();
    } catch (se::FeatureRestricted const& e) {
        return std::string("FeatureRestricted: ") + e.what();
    } catch (se::ResponseError const& e) {
        return std::string("ResponseError: ") + e.what();
    } catch (se::CommandNotAllowed const& e) {
        return std::string("CommandNotAllowed: ") + e.what();
    } catch (se::AuthMethodBlocked const& e) {
        return std::string("AuthMethodBlocked: ") + e.what();
    } catch (se::RefDataNotFound const& e) {
        return std::string("RefDataNotFound: ") + e.what();
    } catch (se::FileNotFound const& e) {
        return std::string("FileNotFound: ") + e.what();
    } catch (se::PersistentStateError const& e) {
        return std::string("PersistentStateError: ") + e.what();
    } catch (se::PreconditionError const& e) {
        return std::string("PreconditionError: ") + e.what();
    } catch (se::SecurityCondNotSatisfied const& e) {
        return std::string("SecurityCondNotSatisfied: ") + e.what();
    } catch (se::OutOfMemory const& e) {
        return std::string("OutOfMemory: ") + e.what();
    } catch (velk::InputError const& e) {
        return std::string("InputError: ") + e.what();
    }
}

}  // namespace teappletlib::test
