#include "runtime/ErrorReport.h"
#include "support/Recorders.h"

#include <gtest/gtest.h>

using namespace horlan;

TEST(ErrorReport, CommonReportLinesSignAndHelp) {
    const struct {
        RuntimeError error;
        const char* errorLine;
    } rows[] = {
        {RuntimeError(5, QStringLiteral("Invalid procedure call or argument"),
                      QStringLiteral("h.hlp"), 42),
         "Error 5 - Invalid procedure call or argument"},
        {RuntimeError(-12, QStringLiteral("x")), "Error-12 - x"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CommonErrorReport(row.error, QStringLiteral("Form_Load")),
                  (MsgBoxRequest{QStringLiteral("An Error was generated:\r\n\r\nDescription:\r\n") +
                                     QLatin1String(row.errorLine) +
                                     QStringLiteral("\r\nForm_Load\r\n\r\nPlease inform the "
                                                    "author with the error description above."),
                                 MsgBoxIcon::None, QStringLiteral("Error"), row.error.HelpFile(),
                                 row.error.HelpContext()}));
    }
}
