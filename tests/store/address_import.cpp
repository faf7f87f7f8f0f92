// postavo-db import-dbf: all or nothing, also when it fails or is killed part way; values cut
// to the target's widths are counted.
#include "addressfile.h"
#include "engine/recordengine.h"
#include "support_addressfile.h"
#include "support_validators.h"

#include <QFile>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace postavo;
using namespace postavo::test;
namespace fs = std::filesystem;

namespace {

const std::string kTool = std::string(POSTAVO_BIN_DIR) + "/postavo-db";

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Import : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string target = dir.path("ADD0001.DBF").toStdString();
    std::string source = dir.path("source.dbf").toStdString();

    void SetUp() override
    {
        ASSERT_TRUE(makeAddressFile(QString::fromStdString(target), 2, [](AddressTable& a, int i) {
            a.setValue("LNAME", QStringLiteral("Old%1").arg(i + 1));
        }));
    }
    void makeSource(int records)
    {
        using namespace engine;
        Table::create(source, {{"LNAME", 'C', 50, 0}, {"CITY", 'C', 20, 0}, {"MEMO", 'M', 10, 0}});
        auto t = Table::open(source, OpenMode::Exclusive);
        for (int i = 1; i <= records; ++i) {
            t->appendBlank();
            t->replace("LNAME", i == 2 ? std::string(45, 'L') : "New" + std::to_string(i));
            t->replace("CITY", "Town");
            if (i % 3 == 0)
                t->replace("MEMO", "memo " + std::to_string(i));
        }
    }
    std::string files() const
    {
        return slurp(target) + "|" + slurp(dir.path("ADD0001.fpt").toStdString()) + "|"
            + slurp(dir.path("ADD0001.cdx").toStdString());
    }
    int run(std::string* out = nullptr)
    {
        FILE* p = ::popen((kTool + " import-dbf " + source + " " + target + " 2>&1").c_str(), "r");
        std::string text;
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            text.append(buf, n);
        const int status = ::pclose(p);
        if (out)
            *out = text;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The target as an address file: record count, with every tag and a sound index.
    quint32 soundRecordCount()
    {
        AddressTable t;
        QString error;
        EXPECT_TRUE(t.open(QString::fromStdString(target), &error)) << error.toStdString();
        EXPECT_TRUE(CheckValidIndex(t));
        const quint32 n = t.recordCount();
        EXPECT_EQ(t.engineTable()->check(), std::vector<std::string>{});
        return n;
    }
};

TEST_F(Import, AppendsTheRecordsWithTheirTagsAndCountsCutValues)
{
    makeSource(4);
    {
        auto t = engine::Table::open(source, engine::OpenMode::Exclusive);
        t->go(4);
        t->deleteRecord();
    }
    std::string out;
    ASSERT_EQ(run(&out), 0) << out;
    EXPECT_EQ(out, "imported 3 records; 1 values were cut to the target's field widths\n");
    EXPECT_EQ(soundRecordCount(), 5u);
    EXPECT_TABLE_VALID(target);
    for (const auto& e : fs::directory_iterator(dir.path().toStdString()))
        EXPECT_EQ(e.path().filename().string().find(".postavo-import"), std::string::npos) << e.path();
}

TEST_F(Import, ASourceThatFailsHalfWayChangesNothing)
{
    makeSource(6);
    // Record 6's memo pointer leads past the end of the source's memo file.
    std::string bytes = slurp(source);
    const int header = uchar(bytes[8]) | (uchar(bytes[9]) << 8);
    const int length = uchar(bytes[10]) | (uchar(bytes[11]) << 8);
    bytes.replace(size_t(header + 5 * length + 1 + 50 + 20), 10, "    999999");
    std::ofstream(source, std::ios::binary | std::ios::trunc) << bytes;
    const std::string before = files();
    std::string out;
    EXPECT_EQ(run(&out), 1) << out;
    EXPECT_NE(out.find("source.fpt"), std::string::npos) << out;
    EXPECT_EQ(files(), before);
    EXPECT_EQ(soundRecordCount(), 2u);
}

TEST_F(Import, KilledPartWayLeavesTheTargetAsBeforeOrFullyImported)
{
    makeSource(40000);
    const std::string pristine = files();
    const std::string keepDbf = slurp(target), keepFpt = slurp(dir.path("ADD0001.fpt").toStdString()),
                      keepCdx = slurp(dir.path("ADD0001.cdx").toStdString());
    int before = 0, after = 0;
    for (int delay : {10, 40, 80, 150, 250, 400, 600, 900, 1300}) {
        SCOPED_TRACE(delay);
        std::ofstream(target, std::ios::binary | std::ios::trunc) << keepDbf;
        std::ofstream(dir.path("ADD0001.fpt").toStdString(), std::ios::binary | std::ios::trunc) << keepFpt;
        std::ofstream(dir.path("ADD0001.cdx").toStdString(), std::ios::binary | std::ios::trunc) << keepCdx;
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::execl(kTool.c_str(), kTool.c_str(), "import-dbf", source.c_str(), target.c_str(), (char*)nullptr);
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const quint32 n = soundRecordCount();
        EXPECT_TRUE(n == 2u || n == 40002u) << n;
        (n == 2u ? before : after)++;
        if (n == 2u) {
            EXPECT_EQ(files(), pristine);
        }
    }
    std::printf("[   NOTE   ] killed imports: %d left the target as before, %d had finished\n", before, after);
}

} // namespace
