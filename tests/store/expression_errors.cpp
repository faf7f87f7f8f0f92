// Faults in expression text are reported at compile time with their position, never
// evaluated as false.

#include "expression.h"
#include "support_expression_table.h"

#include <gtest/gtest.h>

using namespace postavo::engine;

namespace {

struct Bad {
    std::string expr;
    std::size_t position;
    const char* detail;   // part of the message
};

TEST(ExpressionErrors, PositionAndReason)
{
    const exprtest::Layout l = exprtest::addressLayout();
    const Bad rows[] = {
        {"UPPER(LNAME", 12, "expected \")\""},
        {"LNAME +", 8, "unexpected end of expression"},
        {"NOSUCH = \"A\"", 1, "unknown field NOSUCH"},
        {"UPPER(LNAME) = nosuch", 16, "unknown field NOSUCH"},
        {"FOO(LNAME)", 1, "unknown function FOO"},
        {"LNAME + 1", 7, "operator + cannot combine Character and Numeric"},
        {"LNAME - ISDEL", 7, "operator - cannot combine Character and Logical"},
        {"ISDEL .AND. LNAME", 7, ".AND. needs a Logical value, not Character"},
        {"LNAME .OR. ISDEL", 7, ".OR. needs a Logical value"},
        {"!LNAME", 1, ".NOT. needs a Logical value"},
        {"UPPER(ISDEL)", 7, "UPPER() argument 1 needs a Character value, not Logical"},
        {"LEFT(LNAME, \"3\")", 13, "LEFT() argument 2 needs a Numeric value"},
        {"LEFT(LNAME)", 1, "LEFT() takes 2 arguments, not 1"},
        {"DELETED(1)", 1, "DELETED() takes 0 arguments, not 1"},
        {"\"abc", 1, "string not closed"},
        {"LNAME = 'abc", 9, "string not closed"},
        {"LNAME = 1", 7, "cannot compare Character with Numeric"},
        {"1 $ LNAME", 3, "$ needs a Character value, not Numeric"},
        {"LNAME @ 1", 7, "unexpected character \"@\""},
        {"LNAME = .X.", 9, "unexpected \".\""},
        {"", 1, "empty expression"},
        {"   ", 1, "empty expression"},
        {"(LNAME))", 8, "unbalanced \")\""},
        {"LNAME FNAME", 7, "expected an operator"},
        {"IIF(ISDEL, 1, \"a\")", 15, "IIF() needs both results of one type"},
        {"-LNAME", 1, "unary - needs a Numeric value"},
        {"LNAME * 2", 7, "operator * needs a Numeric value"},
        {"UPPER()", 1, "UPPER() takes 1 argument, not 0"},
        {"UPPER(LNAME,)", 13, "expected a value"},
        {"DTOS(LNAME)", 6, "DTOS() argument 1 needs a Date value"},
    };
    for (const Bad& b : rows) {
        try {
            Expression::compile(b.expr, l.fields);
            ADD_FAILURE() << b.expr << ": compiled";
        } catch (const ExpressionError& e) {
            EXPECT_EQ(e.kind(), EngineError::Kind::Expression);
            EXPECT_EQ(e.position(), b.position) << b.expr << ": " << e.what();
            EXPECT_NE(e.detail().find(b.detail), std::string::npos) << b.expr << ": " << e.what();
            EXPECT_EQ(e.expression(), b.expr);
            const std::string msg = e.what();
            EXPECT_NE(msg.find("position " + std::to_string(b.position)), std::string::npos) << msg;
            EXPECT_NE(msg.find("\"" + b.expr + "\""), std::string::npos) << msg;
        }
    }
}

TEST(ExpressionErrors, HostileNestingIsRefusedNotOverflowed)
{
    const exprtest::Layout l = exprtest::addressLayout();
    EXPECT_THROW(Expression::compile(std::string(5000, '(') + "1" + std::string(5000, ')'), l.fields),
                 ExpressionError);
    std::string chain = "1";
    for (int i = 0; i < 5000; ++i)
        chain += "+1";
    EXPECT_THROW(Expression::compile(chain, l.fields), ExpressionError);
    std::string nots(5000, '!');
    EXPECT_THROW(Expression::compile(nots + "ISDEL", l.fields), ExpressionError);
    EXPECT_THROW(Expression::compile(std::string(70000, ' ') + "1", l.fields), ExpressionError);
    // Moderate depth is fine.
    EXPECT_NO_THROW(Expression::compile(std::string(50, '(') + "1" + std::string(50, ')'), l.fields));
}

TEST(ExpressionErrors, ResultsTooLongAreRefused)
{
    exprtest::Layout l;
    l.add("BIG", 'C', 60000);
    std::string twenty = "BIG";
    for (int i = 0; i < 19; ++i)
        twenty += "+BIG";
    EXPECT_THROW(Expression::compile(twenty, l.fields), ExpressionError);
    EXPECT_NO_THROW(Expression::compile("BIG+BIG", l.fields));
}

TEST(ExpressionErrors, EvaluatingWithoutARecordIsAUsageError)
{
    const exprtest::Layout l = exprtest::addressLayout();
    const Expression e = Expression::compile("!ISDEL", l.fields);
    try {
        e.evalLogical(RecordRef{});
        FAIL();
    } catch (const EngineError& err) {
        EXPECT_EQ(err.kind(), EngineError::Kind::Usage);
    }
}

TEST(ExpressionErrors, CaughtAsEngineError)
{
    const exprtest::Layout l = exprtest::addressLayout();
    try {
        Expression::compile("UPPER(LNAME) = \"X\" .and. ISDELETED", l.fields);
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_EQ(e.kind(), EngineError::Kind::Expression);
        EXPECT_NE(std::string(e.what()).find("ISDELETED"), std::string::npos);
    }
}

} // namespace
