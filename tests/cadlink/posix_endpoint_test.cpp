#include "cadlink/posix_endpoint.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "cadlink/posix_protocol.h"

namespace cadlink::posix {
namespace {

TEST(EndpointDirectory, OnlyAnOwnersClosedDirectoryIsUsed) {
    struct Case {
        const char* name;
        DirectoryFacts facts;
        bool accepted;
    };
    const Case cases[] = {
        {"0700, own", {true, true, false, 1000, 0700}, true},
        {"0500, own", {true, true, false, 1000, 0500}, true},
        {"missing", {false, false, false, 0, 0}, false},
        {"0755 open to others", {true, true, false, 1000, 0755}, false},
        {"0770 open to the group", {true, true, false, 1000, 0770}, false},
        {"0701 searchable by others", {true, true, false, 1000, 0701}, false},
        {"another user's", {true, true, false, 1001, 0700}, false},
        {"a symbolic link", {true, false, true, 1000, 0777}, false},
        {"a file", {true, false, false, 1000, 0600}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkDirectoryFacts(c.facts, 1000, "/d").ok(), c.accepted) << c.name;
    }
}

class EndpointFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = std::filesystem::temp_directory_path() / ("tiermark-endpoint-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_root);
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }
    std::filesystem::path m_root;
};

TEST_F(EndpointFiles, PrepareCreatesAClosedDirectoryAndRefusesAnOpenOne) {
    const std::string fresh = (m_root / "fresh").string();
    ASSERT_TRUE(prepareEndpointDirectory(fresh).ok());
    struct stat st {};
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    const std::string open = (m_root / "open").string();
    ASSERT_EQ(::mkdir(open.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(open.c_str(), 0755), 0);
    auto refused = prepareEndpointDirectory(open);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().message.find("open to other users"), std::string::npos);

    const std::string link = (m_root / "link").string();
    ASSERT_EQ(::symlink(fresh.c_str(), link.c_str()), 0);
    EXPECT_FALSE(checkEndpointDirectory(link).ok());
}

TEST_F(EndpointFiles, AnotherUsersDirectoryIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to hand a directory to another user";
    }
    const std::string foreign = (m_root / "foreign").string();
    ASSERT_EQ(::mkdir(foreign.c_str(), 0700), 0);
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    auto refused = prepareEndpointDirectory(foreign);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().message.find("belongs to user 65534"), std::string::npos);
}

TEST_F(EndpointFiles, TheSocketIsTheOwnersAlone) {
    const std::string dir = (m_root / "s").string();
    ASSERT_TRUE(prepareEndpointDirectory(dir).ok());
    const std::string file = socketPath(dir, 77);
    EXPECT_EQ(file, dir + "/77.sock");
    auto fd = listenEndpoint(file);
    ASSERT_TRUE(fd.ok()) << fd.error().message;
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // A stale socket file of the same name is replaced.
    auto again = listenEndpoint(file);
    EXPECT_TRUE(again.ok());
}

TEST(Protocol, FramesAndFieldsReadBackAndShortBodiesFail) {
    ByteWriter writer;
    writer.u8(7).u32(0xDEADBEEF).u64(0x0102030405060708ULL).i32(-5).i64(-6).text("図面");
    const std::vector<std::uint8_t> body = writer.take();
    ByteReader reader(body);
    EXPECT_EQ(reader.u8(), 7);
    EXPECT_EQ(reader.u32(), 0xDEADBEEFu);
    EXPECT_EQ(reader.u64(), 0x0102030405060708ULL);
    EXPECT_EQ(reader.i32(), -5);
    EXPECT_EQ(reader.i64(), -6);
    EXPECT_EQ(reader.text(), "図面");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.u8().has_value());

    // A length that runs past the body fails and keeps failing.
    const std::vector<std::uint8_t> lying = {0xFF, 0xFF, 0xFF, 0x7F, 'a'};
    ByteReader liar(lying);
    EXPECT_FALSE(liar.bytes().has_value());
    EXPECT_FALSE(liar.u8().has_value());

    const std::vector<std::uint8_t> wire = serialize(Frame{3, {9, 8}});
    EXPECT_EQ(wire, (std::vector<std::uint8_t>{3, 0, 0, 0, 3, 9, 8}));
}

TEST(Protocol, WindowHandlesLeadBackToTheirProcess) {
    for (std::uint32_t pid : {1u, 4242u, 4194304u, 0xFFFFFFFFu}) {
        for (std::uint32_t index : {kMainWindowIndex, kTextWindowIndex}) {
            const WindowHandle handle = makeWindowHandle(pid, index);
            EXPECT_NE(handle, 0u);
            EXPECT_EQ(processOfWindow(handle), pid);
            EXPECT_EQ(indexOfWindow(handle), index);
        }
    }
}

}  // namespace
}  // namespace cadlink::posix
