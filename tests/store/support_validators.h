#pragma once
// The independent checkers every table we write must pass, and the sample tables the tests read.
//
// The samples live in the repository (tests/data/xbase). The checkers sit beside the repository
// (../shared/tools) where CI has them; a plain clone has none, and the tests that need them say
// so and skip instead of failing.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace validators {

inline std::filesystem::path sampleDir()
{
    return std::filesystem::path(POSTAVO_SOURCE_DIR) / "tests" / "data" / "xbase";
}

inline std::filesystem::path toolsDir() { return std::filesystem::path(POSTAVO_SHARED_DIR) / "tools"; }

inline std::filesystem::path xbaseCheckPath() { return toolsDir() / "xbase-check.py"; }
inline std::filesystem::path cdxdumpPath() { return toolsDir() / "cdxdump"; }

inline bool haveXbaseCheck()
{
    return std::filesystem::exists(xbaseCheckPath()) && std::filesystem::exists("/usr/bin/python3");
}
inline bool haveCdxdump() { return std::filesystem::exists(cdxdumpPath()); }

inline const char* missingXbaseCheck()
{
    return "xbase-check.py is not beside the repository (../shared/tools): table validation skipped";
}
inline const char* missingCdxdump()
{
    return "cdxdump is not beside the repository (../shared/tools): independent-engine check skipped";
}

struct Outcome {
    bool ran = false;
    int status = -1;
    std::string output;
};

inline Outcome runTool(const std::string& command)
{
    Outcome o;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return o;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        o.output.append(buf, n);
    const int status = ::pclose(p);
    o.ran = true;
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
}

inline std::string quoted(const std::string& path) { return "'" + path + "'"; }

// xbase-check.py on one table (extra options such as --quiet after the path).
inline Outcome xbaseCheck(const std::string& dbf, const std::string& options = {})
{
    if (!haveXbaseCheck())
        return {};
    return runTool("/usr/bin/python3 " + quoted(xbaseCheckPath().string()) + " " + quoted(dbf)
                   + (options.empty() ? "" : " " + options));
}

// The independent engine's check: 0 sound, 1 a problem, 2 it could not open the table. It
// finds the memo and index files under the table's base name with lower-case extensions, as
// we write them.
inline Outcome cdxdump(const std::string& dbf)
{
    if (!haveCdxdump())
        return {};
    return runTool(quoted(cdxdumpPath().string()) + " " + quoted(dbf));
}

} // namespace validators

// Both checkers on a table we wrote; each one that is absent is reported, not failed.
#define EXPECT_TABLE_VALID(dbfPath)                                                                \
    do {                                                                                           \
        const std::string vpath_ = (dbfPath);                                                      \
        const auto xc_ = validators::xbaseCheck(vpath_, "--quiet");                                \
        if (!xc_.ran)                                                                              \
            std::printf("[   NOTE   ] %s\n", validators::missingXbaseCheck());                     \
        else                                                                                       \
            EXPECT_EQ(xc_.status, 0) << "xbase-check.py " << vpath_ << "\n" << xc_.output;         \
        const auto cd_ = validators::cdxdump(vpath_);                                              \
        if (!cd_.ran)                                                                              \
            std::printf("[   NOTE   ] %s\n", validators::missingCdxdump());                        \
        else                                                                                       \
            EXPECT_EQ(cd_.status, 0) << "cdxdump " << vpath_ << "\n" << cd_.output;                \
    } while (0)

// For tests that exist to run a checker: skip the whole test when it is absent.
#define SKIP_WITHOUT_XBASE_CHECK()                                                                 \
    do {                                                                                           \
        if (!validators::haveXbaseCheck())                                                         \
            GTEST_SKIP() << validators::missingXbaseCheck();                                       \
    } while (0)
