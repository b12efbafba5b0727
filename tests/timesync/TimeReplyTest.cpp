#include "timesync/TimeReply.h"
#include "runtime/RuntimeError.h"

#include "support/Printers.h"

#include <gtest/gtest.h>

using namespace horlan;

namespace {

QByteArray Bytes(std::initializer_list<unsigned char> values) {
    QByteArray bytes;
    for (const unsigned char v : values) {
        bytes.append(static_cast<char>(v));
    }
    return bytes;
}

} // namespace

TEST(TimeReply, DecodesServerSecondsPlusRoundedDelay) {
    const struct {
        QByteArray reply;
        float delay;
        SYSTEMTIME record;
    } rows[] = {
        {Bytes({0xE0, 0, 0, 0}), 0.3f, {2019, 2, 0, 2, 11, 39, 44, 0}},
        {Bytes({0xE0, 0, 0, 0}), 0.5f, {2019, 2, 0, 2, 11, 39, 44, 0}},
        {Bytes({0xE0, 0, 0, 0}), 0.51f, {2019, 2, 0, 2, 11, 39, 45, 0}},
        {Bytes({0xE0, 0, 0, 0}), 0.4f, {2019, 2, 0, 2, 11, 39, 44, 0}},
        {Bytes({0xE0, 0, 0, 0}), 0.6f, {2019, 2, 0, 2, 11, 39, 45, 0}},
        {Bytes({0xE0, 0, 0, 0}), 1.5f, {2019, 2, 0, 2, 11, 39, 46, 0}},
        {Bytes({0xE0, 0, 0, 0}), 2.5f, {2019, 2, 0, 2, 11, 39, 46, 0}},
        {Bytes({0xE0, 0, 0, 0}), 3.5f, {2019, 2, 0, 2, 11, 39, 48, 0}},
        {Bytes({0xE0, 0, 0, 0}), -0.5f, {2019, 2, 0, 2, 11, 39, 44, 0}},
        {Bytes({0xFF, 0xFF, 0xFF, 0xFF}), 0.0f, {2036, 2, 0, 7, 6, 28, 15, 0}},
        // A space as the last byte is data like any other.
        {Bytes({0xE0, 0, 0, 0x20}), 0.0f, {2019, 2, 0, 2, 11, 40, 16, 0}},
        // The smallest reply that still fits: 1921-12-13 20:45:52.
        {Bytes({0x29, 0x49, 0x1C, 0x00}), 0.0f, {1921, 12, 0, 13, 20, 45, 52, 0}},
        // 1990-01-01 itself, and a delay that carries into the next day.
        {Bytes({0xA9, 0x49, 0x1C, 0x00}), 0.0f, {1990, 1, 0, 1, 0, 0, 0, 0}},
        {Bytes({0xA9, 0x49, 0x1B, 0xFF}), 2.0f, {1990, 1, 0, 1, 0, 0, 1, 0}},
    };
    for (const auto& row : rows) {
        const TimeReply result = ComputeTimeReply(row.reply, row.delay);
        EXPECT_EQ(result.Record, row.record) << row.reply.toHex().constData() << " " << row.delay;
        EXPECT_EQ(result.Utc.timeSpec(), Qt::UTC);
        EXPECT_EQ(result.Utc.date(), QDate(row.record.wYear, row.record.wMonth, row.record.wDay));
        EXPECT_EQ(result.Utc.time(),
                  QTime(row.record.wHour, row.record.wMinute, row.record.wSecond));
    }
}

TEST(TimeReply, OutOfRangeMomentsFailWithOverflow) {
    const struct {
        QByteArray reply;
        float delay;
        int error;
    } rows[] = {
        {Bytes({0, 0, 0, 0}), 0.0f, ErrOverflow},
        {Bytes({0x29, 0x49, 0x1B, 0xFF}), 0.0f, ErrOverflow}, // one second before the first
        {Bytes({0x29, 0x49, 0x1C, 0x00}), -1.0f, ErrOverflow},
        {Bytes({0xFF, 0xFF, 0xFF, 0xFF}), 1e9f, ErrOverflow},
        {Bytes({0xE0, 0, 0, 0}), 3e9f, ErrOverflow},
        {Bytes({0xE0, 0, 0, 0}), std::numeric_limits<float>::quiet_NaN(), ErrOverflow},
        {Bytes({0xE0, 0, 0, 0}), std::numeric_limits<float>::infinity(), ErrOverflow},
        {Bytes({0xE0, 0, 0}), 0.0f, ErrInvalidProcedureCall},
        {Bytes({0xE0, 0, 0, 0, 0}), 0.0f, ErrInvalidProcedureCall},
    };
    for (const auto& row : rows) {
        try {
            ComputeTimeReply(row.reply, row.delay);
            ADD_FAILURE() << "no error for " << row.reply.toHex().constData() << " " << row.delay;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), row.error) << row.reply.toHex().constData() << " " << row.delay;
        }
    }
}

TEST(TimeReply, LabelTextsInTheUsersLocale) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    const QDate day(2019, 2, 2);
    const struct {
        QLocale locale;
        QTime time;
        const char* general;
        const char* local;
    } rows[] = {
        {german, QTime(11, 39, 44), "02.02.19 11:39:44", "02.02.19 11:39:44"},
        {german, QTime(0, 0, 0), "02.02.19", "02.02.19 00:00:00"},
        {german, QTime(0, 0, 1), "02.02.19 00:00:01", "02.02.19 00:00:01"},
        {american, QTime(23, 5, 9), "2/2/19 11:05:09 PM", "2/2/19 11:05:09 PM"},
        {american, QTime(0, 0, 0), "2/2/19", "2/2/19 12:00:00 AM"},
    };
    for (const auto& row : rows) {
        const QDateTime utc(day, row.time, Qt::UTC);
        const QDateTime local(day, row.time, Qt::LocalTime);
        EXPECT_EQ(GeneralDateText(utc, row.locale), QString::fromUtf8(row.general)) << row.general;
        EXPECT_EQ(LocalDateTimeText(local, row.locale), QString::fromUtf8(row.local)) << row.local;
    }
}
