#include "runtime/RuntimeError.h"
#include "runtime/ErrorReport.h"
#include "runtime/ResumeNext.h"

#include <gtest/gtest.h>

using namespace horlan;

TEST(RuntimeError, SignPaddedNumbers) {
    const struct {
        int number;
        const char* text;
    } rows[] = {
        {0, " 0"}, {53, " 53"}, {50003, " 50003"}, {-7, "-7"}, {-2147483647, "-2147483647"}};
    for (const auto& row : rows) {
        EXPECT_EQ(SignPadded(row.number), QString::fromLatin1(row.text)) << row.number;
    }
}

TEST(RuntimeError, RaiseCarriesNumberAndStandardDescription) {
    try {
        Raise(ErrOverflow);
        FAIL() << "no error raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 6);
        EXPECT_EQ(e.Description(), QStringLiteral("Overflow"));
        EXPECT_TRUE(e.HelpFile().isEmpty());
    }
}

TEST(RuntimeError, ResumeNextSkipsAFailedStepAndGoesOn) {
    int ran = 0;
    EXPECT_FALSE(ResumeNext([&] {
        ++ran;
        Raise(ErrTypeMismatch);
    }));
    EXPECT_TRUE(ResumeNext([&] { ++ran; }));
    EXPECT_EQ(ran, 2);
}

TEST(ErrorReport, CommonReportLinesAndHelpAttached) {
    const auto box =
        CommonErrorReport(RuntimeError(5, QStringLiteral("Invalid procedure call or argument"),
                                       QStringLiteral("h.hlp"), 42),
                          QStringLiteral("Form_Initialize"));
    EXPECT_EQ(box.Prompt,
              QStringLiteral("An Error was generated:\r\n\r\nDescription:\r\n"
                             "Error 5 - Invalid procedure call or argument\r\n"
                             "Form_Initialize\r\n\r\n"
                             "Please inform the author with the error description above."));
    EXPECT_EQ(box.Title, QStringLiteral("Error"));
    EXPECT_EQ(box.Icon, MsgBoxIcon::None);
    EXPECT_EQ(box.HelpFile, QStringLiteral("h.hlp"));
    EXPECT_EQ(box.HelpContext, 42);

    const auto negative =
        CommonErrorReport(RuntimeError(-12, QStringLiteral("x")), QStringLiteral("Form_Load"));
    EXPECT_TRUE(negative.Prompt.contains(QStringLiteral("\r\nError-12 - x\r\nForm_Load\r\n")));
}
