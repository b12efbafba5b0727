#include "runtime/ErrorReport.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

using namespace horlan;

// The sign padding of the number is pinned with the reinstall report.
TEST(ErrorReport, CommonReportLinesAndHelp) {
    const RuntimeError error(5, QStringLiteral("Invalid procedure call or argument"),
                             QStringLiteral("h.hlp"), 42);
    EXPECT_EQ(
        CommonErrorReport(error, QStringLiteral("Form_Load")),
        (MsgBoxRequest{QStringLiteral("An Error was generated:\r\n\r\nDescription:\r\nError 5 "
                                      "- Invalid procedure call or argument\r\nForm_Load\r\n"
                                      "\r\nPlease inform the author with the error "
                                      "description above."),
                       MsgBoxIcon::None, QStringLiteral("Error"), QStringLiteral("h.hlp"), 42}));
}
