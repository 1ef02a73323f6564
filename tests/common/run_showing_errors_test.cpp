// An operation's error ends in the standard error box, once, and the program goes on.
#include "common/errors.h"
#include "common/prompts.h"
#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

using namespace quvela;
using namespace quvela::test;

namespace {

struct Case
{
    const char *name;
    std::function<void()> handler;
    const char *shown; // null: nothing shown
};

const Case kCases[] = {
    {"no_error", [] {}, nullptr},
    {"own_error", [] { throw QuvelaError(gbk::fromUtf8("请选择EXCEL数据表格！")); }, "请选择EXCEL数据表格！"},
    {"conversion", [] { throw ConversionError(gbk::fromUtf8("'a' is not a valid integer value")); },
     "'a' is not a valid integer value"},
    {"library_error", [] { throw std::runtime_error("disk full"); }, "disk full"},
    {"out_of_memory", [] { throw std::bad_alloc(); }, "Out of memory"},
};

class HandlerErrors : public testing::TestWithParam<Case>
{
};

TEST_P(HandlerErrors, ShownOnceInTheErrorBox)
{
    const Case &c = GetParam();
    ScriptedPrompts prompts;
    runHandlerShowingErrors(prompts, c.handler);
    if (!c.shown) {
        EXPECT_TRUE(prompts.shown.empty());
        return;
    }
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
    EXPECT_EQ(gbk::toUtf8(prompts.shown[0].text), c.shown);
    // The result form gives false for the same error.
    ScriptedPrompts again;
    EXPECT_FALSE(runShowingErrors(again, [&] {
        c.handler();
        return true;
    }));
}

INSTANTIATE_TEST_SUITE_P(Errors, HandlerErrors, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &p) { return std::string(p.param.name); });

} // namespace
