#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_command_bytes.hpp"
#include "simulator_bench.hpp"
#include "teappletlib/interchange/cmd/impl/apdu/file_commands.hpp"
#include "teappletlib/interchange/obj/driver/impl/cmd/file_manager_driver_cmd.hpp"
#include "teappletlib/interchange/obj/read_all.hpp"
#include "testsupport/scripted_card.hpp"
#include "thrown_message.hpp"
#include "velk/exceptions.hpp"

namespace teappletlib::interchange::obj::driver::impl::cmd {
namespace {

using namespace iso7816::interchange::literals;
using test::ByteVector;
using test::readBinary;
using testsupport::Bytes;
using testsupport::cardsim::CardProfile;

ByteVector pattern(std::size_t size) {
    ByteVector content(size);
    for (std::size_t i = 0; i < size; ++i) {
        content[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    }
    return content;
}

ByteVector plain(FileDriver::Data const& data) {
    return ByteVector(data.begin(), data.end());
}

std::vector<ByteVector> readsOf(std::vector<ByteVector> const& sent) {
    std::vector<ByteVector> reads;
    for (auto const& command : sent) {
        if (command[1] == 0xB0) {
            reads.push_back(command);
        }
    }
    return reads;
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
    EXPECT_EQ(plain(bench.file.read(600, 0)), ByteVector(pattern(600)));
    EXPECT_EQ(readsOf(bench.sent()),
              (std::vector<ByteVector>{readBinary(0, 0x00), readBinary(256, 0x00),
                                       readBinary(512, 0x58)}));
}

TEST(FileReadTest, ShortAnswerEndsTheFile) {
    FileBench bench(356);
    EXPECT_EQ(plain(bench.file.read(600, 0)), pattern(356));
    EXPECT_EQ(readsOf(bench.sent()),
              (std::vector<ByteVector>{readBinary(0, 0x00), readBinary(256, 0x00)}));
}

TEST(FileReadTest, SecondReadOfTheSameFileSendsNoSelect) {
    FileBench bench(10);
    bench.file.read(4, 0);
    bench.card.clearLog();
    auto const content = pattern(10);
    EXPECT_EQ(plain(bench.file.read(4, 6)), ByteVector(content.begin() + 6, content.end()));
    EXPECT_EQ(bench.sent(), (std::vector<ByteVector>{readBinary(6, 0x04)}));
}

TEST(ReadAllTest, EmptyFileNeedsNoRead) {
    FileBench bench(0);
    EXPECT_TRUE(readAll(bench.file).empty());
    EXPECT_TRUE(readsOf(bench.sent()).empty());
}

TEST(ReadAllTest, ReadsTheLargestFileWhole) {
    FileBench bench(32768);
    EXPECT_EQ(plain(readAll(bench.file)), pattern(32768));
    EXPECT_EQ(readsOf(bench.sent()).size(), 128u);
}

TEST(ReadAllTest, RefusesAFileBeyondTheMaximumOffset) {
    FileBench bench(32769);
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::WrongLength>([&] { readAll(bench.file); }),
              "The length exceeds the maximum offset");
    EXPECT_TRUE(readsOf(bench.sent()).empty());
}

TEST(MissingFileTest, OnlyExistsAnswersWithoutThrowing) {
    FileBench bench(1);
    obj::File missing(bench.files.get({0x2002_fid}));
    EXPECT_FALSE(missing.exists());
    for (auto const& call : std::vector<std::function<void()>>{
             [&] { missing.getSize(); }, [&] { missing.read(1, 0); }, [&] { readAll(missing); },
             [&] { missing.resize(1); }}) {
        EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::FileNotFound>(call), "File not found");
    }
}

TEST(FileResizeTest, RefusesASizeBeyondSixteenBitsAfterTheWalk) {
    FileBench bench(1);
    EXPECT_EQ(
        test::thrownMessage<velk::secure_elt_err::WrongData>([&] { bench.file.resize(0x10000); }),
        "New file size is too large");
    EXPECT_EQ(bench.sent().size(), 2u);  // SELECT 3F00, SELECT 2001; no resize command
}

// The simulated card's files are written at personalisation only, so writes and creations are
// checked against a scripted card.
class FileWriteTest : public ::testing::Test {
protected:
    void expectWalkTo2001() {
        test::expectSelect(card, 0x3F00, true);
        test::expectSelect(card, 0x2001, false);
    }

    void write(Bytes const& data, unsigned long offset) {
        files.get({0x2001_fid})->write(testsupport::secure(data), offset);
    }

    std::string refusal(Bytes const& data, unsigned long offset) {
        return test::thrownMessage<velk::InputError>([&] { write(data, offset); });
    }

    testsupport::ScriptedCard card;
    interchange::cmd::impl::apdu::FileCommands commands{card.transmit()};
    KeyValueCache cache{std::make_shared<KeyValueCache::Storage>()};
    FileManagerDriverCmd files{cache, commands};
};

TEST_F(FileWriteTest, WritesInChunksOfTheChainLimit) {
    Bytes const data(300, 0x5A);
    expectWalkTo2001();
    card.expect(Bytes{0x00, 0xD6, 0x00, 0x10, 0xFF} + data.substr(0, 255)).answer({0x90, 0x00});
    card.expect(Bytes{0x00, 0xD6, 0x01, 0x0F, 0x2D} + data.substr(255)).answer({0x90, 0x00});
    write(data, 0x10);
}

TEST_F(FileWriteTest, WriteEndingAtTheMaximumOffsetIsSent) {
    Bytes const data(256, 0x5A);
    expectWalkTo2001();
    card.expect(Bytes{0x00, 0xD6, 0x7F, 0x00, 0xFF} + data.substr(0, 255)).answer({0x90, 0x00});
    card.expect(Bytes{0x00, 0xD6, 0x7F, 0xFF, 0x01, 0x5A}).answer({0x90, 0x00});
    write(data, 0x7F00);
}

TEST_F(FileWriteTest, WritePastTheMaximumOffsetIsRefusedBeforeAnythingIsSent) {
    // The first chunk would fit; the card must not be left with half the data.
    EXPECT_EQ(refusal(Bytes(256, 0x5A), 0x7F01), "File write exceeds maximum offset");
    EXPECT_EQ(refusal(Bytes(1, 0x5A), 0x8000), "File write exceeds maximum offset");
}

TEST_F(FileWriteTest, EmptyWriteSendsNothing) {
    write(Bytes(), 0);  // the scripted card fails the test on any command
}

TEST_F(FileWriteTest, CreationForgetsTheSelection) {
    expectWalkTo2001();
    test::expectSelect(card, 0x1000, true);
    card.expect({0x80, 0xE0, 0x10, 0x01, 0x12, 0x10, 0x01, 0x05, 0x11, 0x01, 0x02, 0x12,
                 0x02, 0x01, 0x00, 0x04, 0x02, 0x01, 0x00, 0x05, 0x02, 0x01, 0x00})
        .answer({0x90, 0x00});
    ASSERT_TRUE(files.get({0x2001_fid})->exists());
    files.create({0x1000_fid, 0x1001_fid}, iso7816::interchange::ShortFileId{0x05}, 0x100,
                 Acl::Anybody, Acl::Anybody);
    // What the card selected while creating is unknown, so the next walk starts from the MF.
    expectWalkTo2001();
    EXPECT_TRUE(files.get({0x2001_fid})->exists());
}

TEST_F(FileWriteTest, CreationNeedsADirectoryAsParent) {
    expectWalkTo2001();
    EXPECT_EQ(test::thrownMessage<velk::secure_elt_err::PathInvalid>([&] {
                  files.createDir({0x2001_fid, 0x1001_fid}, 4, Acl::Anybody);
              }),
              "Failed to select path for dir creation");
    EXPECT_EQ(test::thrownMessage<velk::InputError>([&] {
                  files.create({}, iso7816::interchange::ShortFileId{0x05}, 1, Acl::Anybody,
                               Acl::Anybody);
              }),
              "A new file needs a path below the MF");
}

}  // namespace
}  // namespace teappletlib::interchange::obj::driver::impl::cmd
