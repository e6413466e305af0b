#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "file_command_bytes.hpp"
#include "simulator_bench.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/file_manager_driver_cmd.hpp"
#include "teappletlib/interchange/obj/read_all.hpp"
#include "thrown_message.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {
namespace {

using namespace iso7816::interchange::literals;
using test::ByteVector;
using test::headersOf;
using test::readBinary;
using test::selectFile;
using testsupport::cardsim::CardProfile;

ByteVector pattern(std::size_t size) {
    ByteVector content(size);
    for (std::size_t i = 0; i < size; ++i) {
        content[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    return content;
}

// UPDATE BINARY: 00 D6 <offset> <Lc>.
ByteVector updateBinary(std::uint16_t offset, std::uint8_t lc) {
    return {0x00, 0xD6, test::high(offset), test::low(offset), lc};
}

// EF 2001 of the given size below the MF.
struct FileBench : test::DriverBench {
    explicit FileBench(std::size_t size) : test::DriverBench(profileWith(size)) {}

    static CardProfile profileWith(std::size_t size) {
        auto profile = CardProfile::standard();
        profile.files.putFile({0x2001}, pattern(size));
        return profile;
    }

    FileManagerDriverCmd files{cache, commands.getFileCommands()};
    obj::File file{files.get({0x2001_fid})};
};

TEST(FileReadTest, ReadsInBlocksUntilTheLengthIsReached) {
    FileBench bench(700);
    EXPECT_EQ(test::vectorOf(bench.file.read(600, 0)), pattern(600));
    EXPECT_EQ(headersOf(0xB0, bench.sent()),
              (std::vector<ByteVector>{readBinary(0, 0x00), readBinary(256, 0x00),
                                       readBinary(512, 0x58)}));
}

TEST(FileReadTest, ShortAnswerEndsTheFile) {
    FileBench bench(356);
    EXPECT_EQ(test::vectorOf(bench.file.read(600, 0)), pattern(356));
    EXPECT_EQ(headersOf(0xB0, bench.sent()),
              (std::vector<ByteVector>{readBinary(0, 0x00), readBinary(256, 0x00)}));
}

TEST(FileReadTest, SecondReadOfTheSameFileSendsNoSelect) {
    FileBench bench(10);
    bench.file.read(4, 0);
    bench.card.clearLog();
    auto const content = pattern(10);
    EXPECT_EQ(test::vectorOf(bench.file.read(4, 6)),
              ByteVector(content.begin() + 6, content.end()));
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{readBinary(6, 0x04)}));
}

TEST(ReadAllTest, EmptyFileNeedsNoRead) {
    FileBench bench(0);
    EXPECT_TRUE(readAll(bench.file).empty());
    EXPECT_TRUE(headersOf(0xB0, bench.sent()).empty());
}

TEST(ReadAllTest, ReadsTheLargestFileWhole) {
    FileBench bench(32768);
    EXPECT_EQ(test::vectorOf(readAll(bench.file)), pattern(32768));
    EXPECT_EQ(headersOf(0xB0, bench.sent()).size(), 128u);
}

TEST(ReadAllTest, RefusesAFileBeyondTheMaximumOffset) {
    FileBench bench(32769);
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::WrongLength>([&] { readAll(bench.file); }),
              "The length exceeds the maximum offset");
    EXPECT_TRUE(headersOf(0xB0, bench.sent()).empty());
}

TEST(MissingFileTest, OnlyExistsAnswersWithoutThrowing) {
    FileBench bench(1);
    obj::File missing(bench.files.get({0x2002_fid}));
    EXPECT_FALSE(missing.exists());
    for (auto const& call : std::vector<std::function<void()>>{
             [&] { missing.getSize(); }, [&] { missing.read(1, 0); }, [&] { readAll(missing); },
             [&] { missing.resize(1); }, [&] { missing.write(FileDriver::Data(1, 0x5A), 0); }}) {
        EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::FileNotFound>(call), "File not found");
    }
}

TEST(FileResizeTest, NewSizeIsSeenThroughTheRememberedSelection) {
    FileBench bench(1);
    EXPECT_TRUE(bench.file.resize(300));
    bench.card.clearLog();
    EXPECT_EQ(bench.file.getSize(), 300u);
    EXPECT_TRUE(bench.sent().empty());
}

TEST(FileResizeTest, RefusesASizeBeyondSixteenBitsAfterTheWalk) {
    FileBench bench(1);
    EXPECT_EQ(
        test::thrownMessage<velk::secure_elt_err::WrongData>([&] { bench.file.resize(0x10000); }),
        "New file size is too large");
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{selectFile(0x3F00), selectFile(0x2001)}));
}

TEST(FileWriteTest, WritesInChunksOfTheChainLimit) {
    FileBench bench(400);
    bench.file.write(FileDriver::Data(300, 0x5A), 0x10);
    EXPECT_EQ(headersOf(0xD6, bench.sent()),
              (std::vector<ByteVector>{updateBinary(0x0010, 0xFF), updateBinary(0x010F, 0x2D)}));
    auto expected = pattern(400);
    std::fill_n(expected.begin() + 0x10, 300, 0x5A);
    EXPECT_EQ(test::vectorOf(bench.file.read(400, 0)), expected);
}

TEST(FileWriteTest, WriteEndingAtTheMaximumOffsetIsSent) {
    FileBench bench(0x8000);
    bench.file.write(FileDriver::Data(256, 0x5A), 0x7F00);
    EXPECT_EQ(headersOf(0xD6, bench.sent()),
              (std::vector<ByteVector>{updateBinary(0x7F00, 0xFF), updateBinary(0x7FFF, 0x01)}));
    EXPECT_EQ(test::vectorOf(bench.file.read(256, 0x7F00)), ByteVector(256, 0x5A));
}

TEST(FileWriteTest, RefusedOrEmptyWriteSendsNothing) {
    FileBench bench(0x8000);
    // The first chunk of the first write would fit; the file must not be left half written.
    for (auto const& [size, offset] : {std::pair<std::size_t, unsigned long>{256, 0x7F01},
                                       std::pair<std::size_t, unsigned long>{1, 0x8000}}) {
        EXPECT_EQ(test::thrownMessage<velk::InputError>(
                      [&] { bench.file.write(FileDriver::Data(size, 0x5A), offset); }),
                  "File write exceeds maximum offset");
    }
    bench.file.write({}, 0);
    EXPECT_TRUE(bench.sent().empty());
}

TEST(FileCreationTest, CreatedFileIsWalkedToFromTheMf) {
    FileBench bench(1);
    bench.files.createDir({0x1000_fid}, 4, Acl::Anybody);
    auto const created =
        bench.files.create({0x1000_fid, 0x1001_fid}, iso7816::interchange::ShortFileId{0x05}, 0x100,
                           Acl::Anybody, Acl::Anybody);
    bench.card.clearLog();
    // What the card selected while creating is unknown, so the walk does not start at DF 1000.
    EXPECT_EQ(created->getSize(), 0x100u);
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{selectFile(0x3F00), selectFile(0x1000),
                                                     selectFile(0x1001)}));
}

TEST(FileCreationTest, CreationNeedsADirectoryAsParent) {
    FileBench bench(1);
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::PathInvalid>([&] {
                  bench.files.createDir({0x2001_fid, 0x1001_fid}, 4, Acl::Anybody);
              }),
              "Failed to select path for dir creation");
    EXPECT_EQ(test::thrownMessage<velk::InputError>([&] {
                  bench.files.create({}, iso7816::interchange::ShortFileId{0x05}, 1, Acl::Anybody,
                                     Acl::Anybody);
              }),
              "A new file needs a path below the MF");
    EXPECT_TRUE(headersOf(0xE0, bench.sent()).empty());
}

// Walks and reads of two directories through one manager: without its mutex held for the whole
// operation, one thread's SELECT lands between the other's SELECT and READ BINARY.
TEST(FileManagerConcurrencyTest, ConcurrentReadsGetTheirOwnFiles) {
    auto profile = CardProfile::standard();
    profile.files.putFile({0x1000, 0x1001}, pattern(300));
    profile.files.putFile({0x2000, 0x2001}, ByteVector(300, 0xEE));
    test::DriverBench bench(std::move(profile));
    FileManagerDriverCmd files(bench.cache, bench.commands.getFileCommands());
    std::atomic<int> wrong{0};
    auto const reader = [&](AbsoluteFid const& path, ByteVector const& expected) {
        obj::File const file(files.get(path));
        for (int i = 0; i < 50; ++i) {
            try {
                wrong += test::vectorOf(readAll(file)) != expected ? 1 : 0;
            } catch (std::exception const&) {
                ++wrong;  // a walk that lost its way
            }
        }
    };
    std::thread first(reader, AbsoluteFid{0x1000_fid, 0x1001_fid}, pattern(300));
    std::thread second(reader, AbsoluteFid{0x2000_fid, 0x2001_fid}, ByteVector(300, 0xEE));
    first.join();
    second.join();
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace teappletlib::interchange::obj::driver::impl::cmd
