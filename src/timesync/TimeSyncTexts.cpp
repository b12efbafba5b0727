#include "timesync/TimeSyncTexts.h"

#include "runtime/AppInfo.h"

#include <QCoreApplication>

#include "timesync/TimeReply.h"

#include <QStringList>
#include <cstdlib>

namespace horlan {

namespace {

QString Oops() {
    return QCoreApplication::translate("TimeSyncTexts", "Oops");
}

} // namespace

QString WorkingText() {
    return QCoreApplication::translate("TimeSyncTexts", "Working...");
}

QString WaitingText() {
    return QCoreApplication::translate("TimeSyncTexts", "Waiting...");
}

QString WaitingUtcText() {
    return QCoreApplication::translate("TimeSyncTexts", "Waiting ...");
}

QString SynchronizedText() {
    return QCoreApplication::translate("TimeSyncTexts", "Clock synchronized succesfully.");
}

QString NotSynchronizedText() {
    return QCoreApplication::translate("TimeSyncTexts", "Clock not synchronized.");
}

QString WaitingForPermissionText() {
    return QCoreApplication::translate("TimeSyncTexts",
                                       "Waiting for permission to set the clock...");
}

MsgBoxRequest InvalidResponseBox() {
    return {
        QCoreApplication::translate("TimeSyncTexts", "NTP Server returned an invalid response."),
        MsgBoxIcon::Critical, QCoreApplication::translate("TimeSyncTexts", "Invalid Response "),
        QString(), 0};
}

QString DurationText(std::chrono::nanoseconds span) {
    const double ns = std::abs(static_cast<double>(span.count()));
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    if (ns < 1e9) {
        // Below a millisecond, the microseconds that NTP can tell on a short path.
        return QCoreApplication::translate("TimeSyncTexts", "%1 ms")
            .arg(locale.toString(ns / 1e6, 'f', ns < 1e6 ? 3 : 1));
    }
    return QCoreApplication::translate("TimeSyncTexts", "%1 s")
        .arg(locale.toString(ns / 1e9, 'f', 3));
}

QString DifferenceInWords(std::chrono::nanoseconds span) {
    using namespace std::chrono;
    auto minutes = round<std::chrono::minutes>(span).count();
    minutes = minutes < 0 ? -minutes : minutes;
    const long long years = minutes / (365 * 24 * 60), days = minutes / (24 * 60) % 365,
                    hours = minutes / 60 % 24, rest = minutes % 60;
    const auto part = [](long long n, const char* one, const char* many) {
        return n == 1 ? QCoreApplication::translate("TimeSyncTexts", one)
                      : QCoreApplication::translate("TimeSyncTexts", many).arg(n);
    };
    QStringList parts;
    if (years != 0) {
        parts << part(years, QT_TRANSLATE_NOOP("TimeSyncTexts", "1 year"),
                      QT_TRANSLATE_NOOP("TimeSyncTexts", "%1 years"));
    }
    if (days != 0) {
        parts << part(days, QT_TRANSLATE_NOOP("TimeSyncTexts", "1 day"),
                      QT_TRANSLATE_NOOP("TimeSyncTexts", "%1 days"));
    }
    if (hours != 0) {
        parts << part(hours, QT_TRANSLATE_NOOP("TimeSyncTexts", "1 hour"),
                      QT_TRANSLATE_NOOP("TimeSyncTexts", "%1 hours"));
    }
    if (rest != 0 || parts.isEmpty()) {
        parts << part(rest, QT_TRANSLATE_NOOP("TimeSyncTexts", "1 minute"),
                      QT_TRANSLATE_NOOP("TimeSyncTexts", "%1 minutes"));
    }
    const QString last = parts.takeLast();
    return parts.isEmpty() ? last
                           : QCoreApplication::translate("TimeSyncTexts", "%1 and %2")
                                 .arg(parts.join(QStringLiteral(", ")), last);
}

QString OutcomeText(ClockOutcome outcome, const TimeSample& sample) {
    const bool behind = sample.Offset.count() >= 0;
    const auto say = [](const char* text) {
        return QCoreApplication::translate("TimeSyncTexts", text);
    };
    QString text;
    switch (outcome) {
    case ClockOutcome::Agreed:
        text = say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The clock agreed with the server to within %1 and was left as it was."))
                   .arg(DurationText(sample.Uncertainty + sample.Slack));
        break;
    case ClockOutcome::Set:
        text = behind ? say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The clock was %1 behind the server (± %2) and has been set."))
                      : say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The clock was %1 ahead of the server (± %2) and has been set."));
        break;
    case ClockOutcome::NotSet:
        text = behind ? say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The clock was %1 behind the server (± %2); it could not be set."))
                      : say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The clock was %1 ahead of the server (± %2); it could not be set."));
        break;
    case ClockOutcome::Declined:
        text = behind ? say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The clock was %1 behind the server (± %2); you chose not to set it."))
                      : say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The clock was %1 ahead of the server (± %2); you chose not to set it."));
        break;
    }
    if (outcome != ClockOutcome::Agreed) {
        text = text.arg(DurationText(sample.Offset), DurationText(sample.Uncertainty));
    }
    if (sample.Authenticated) {
        text += QLatin1Char(' ') + say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The time was authenticated with NTS."));
    }
    return text;
}

QString OutcomeLogLine(ClockOutcome outcome, const TimeSample& sample) {
    const auto ms = [](std::chrono::nanoseconds span) {
        return QString::number(std::abs(static_cast<double>(span.count())) / 1e6, 'f', 3) +
               QStringLiteral(" ms");
    };
    QString line = QStringLiteral("horlan: ") + sample.Host +
                   (sample.Authenticated ? QStringLiteral(" (authenticated with NTS)") : QString()) +
                   QStringLiteral(": clock ");
    if (outcome == ClockOutcome::Agreed) {
        return line + QStringLiteral("within ") + ms(sample.Uncertainty + sample.Slack) +
               QStringLiteral(" of the server, left as it was");
    }
    line += ms(sample.Offset) +
            (sample.Offset.count() >= 0 ? QStringLiteral(" behind") : QStringLiteral(" ahead")) +
            QStringLiteral(" (± ") + ms(sample.Uncertainty) + QStringLiteral("), ");
    switch (outcome) {
    case ClockOutcome::Set:
        return line + QStringLiteral("set");
    case ClockOutcome::Declined:
        return line + QStringLiteral("not set: the user declined");
    default:
        return line + QStringLiteral("could not be set");
    }
}

MsgBoxRequest BigJumpQuestion(const TimeSample& sample) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    const auto say = [](const char* text) {
        return QCoreApplication::translate("TimeSyncTexts", text);
    };
    QString prompt = say(QT_TRANSLATE_NOOP("TimeSyncTexts", "%1 says the time is %2 UTC.")).arg(sample.Host, GeneralDateText(sample.ServerTime)) +
                     crlf +
                     (sample.Offset.count() >= 0 ? say(QT_TRANSLATE_NOOP("TimeSyncTexts", "That is %1 ahead of this computer's clock."))
                                                 : say(QT_TRANSLATE_NOOP("TimeSyncTexts", "That is %1 behind this computer's clock.")))
                         .arg(DifferenceInWords(sample.Offset));
    prompt += crlf + (sample.Authenticated ? say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The time was authenticated with NTS."))
                                           : say(QT_TRANSLATE_NOOP("TimeSyncTexts", "The time was not authenticated.")));
    prompt += crlf + crlf +
              say(QT_TRANSLATE_NOOP("TimeSyncTexts", "A change this large can break certificates, scheduled tasks and logs.")) + crlf +
              say(QT_TRANSLATE_NOOP("TimeSyncTexts", "Set the clock anyway?"));
    return {prompt, MsgBoxIcon::Question, say(QT_TRANSLATE_NOOP("TimeSyncTexts", "Large clock change")), QString(), 0};
}

MsgBoxRequest KissOfDeathBox(const QString& host, const QByteArray& code) {
    QString shown;
    for (const char letter : code) {
        shown += letter >= 0x21 && letter <= 0x7E ? QChar::fromLatin1(letter) : QChar(u'?');
    }
    return {QCoreApplication::translate(
                "TimeSyncTexts",
                "The time server %1 refuses to serve this computer now (Kiss-o'-Death code %2).")
                    .arg(host, shown) +
                QString::fromLatin1(vbCrLf) +
                QCoreApplication::translate(
                    "TimeSyncTexts", "Please try again later, or try another time server from the list."),
            MsgBoxIcon::Exclamation, Oops(), QString(), 0};
}

namespace {

// An NTS box: what went wrong, that the clock is as it was, and what the user can do.
MsgBoxRequest NtsBox(const QString& what) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    return {what + crlf +
                QCoreApplication::translate("TimeSyncTexts", "The clock was not changed.") + crlf +
                QCoreApplication::translate("TimeSyncTexts",
                                            "Please try another time server from the list."),
            MsgBoxIcon::Exclamation, Oops(), QString(), 0};
}

} // namespace

MsgBoxRequest NtsCertificateBox(const QString& host, const QString& reason) {
    return NtsBox(QCoreApplication::translate(
                      "TimeSyncTexts", "The certificate of %1 cannot be trusted: %2.")
                      .arg(host, reason));
}

MsgBoxRequest NtsNotOfferedBox(const QString& host) {
    return NtsBox(QCoreApplication::translate(
                      "TimeSyncTexts", "%1 does not offer Network Time Security (NTS).")
                      .arg(host));
}

MsgBoxRequest NtsServerErrorBox(const QString& host, int code) {
    const char* names[] = {QT_TRANSLATE_NOOP("TimeSyncTexts", "unrecognized critical record"),
                           QT_TRANSLATE_NOOP("TimeSyncTexts", "bad request"),
                           QT_TRANSLATE_NOOP("TimeSyncTexts", "internal server error")};
    const QString name =
        code >= 0 && code < 3 ? QCoreApplication::translate("TimeSyncTexts", names[code])
                              : QCoreApplication::translate("TimeSyncTexts", "unknown error");
    return NtsBox(QCoreApplication::translate(
                      "TimeSyncTexts", "%1 refused the NTS key exchange: error %2 (%3).")
                      .arg(host)
                      .arg(code)
                      .arg(name));
}

MsgBoxRequest NoAuthenticatedTimeBox(const QString& host) {
    return NtsBox(QCoreApplication::translate(
                      "TimeSyncTexts", "No authenticated time came from %1 within the time limit.")
                      .arg(host));
}

MsgBoxRequest ClockNotSetBox(const ClockResult& result) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    const QString reason = result.AutomaticSync
                               ? QCoreApplication::translate(
                                     "TimeSyncTexts", "Automatic time synchronization is enabled.")
                               : result.Reason;
    const QString advice =
        result.AutomaticSync
            ? QCoreApplication::translate("TimeSyncTexts",
                                          "Turn it off in the system's date and time settings "
                                          "to set the clock with Horlan.")
            : QCoreApplication::translate("TimeSyncTexts",
                                          "Horlan needs the right to set the system clock.");
    return {QCoreApplication::translate("TimeSyncTexts", "The system clock could not be set.") +
                crlf + reason + crlf + crlf + advice,
            MsgBoxIcon::Exclamation, Oops(), QString(), 0};
}

MsgBoxRequest NotATimeServerBox() {
    return {QCoreApplication::translate(
                "TimeSyncTexts", "The selected list entry does not seem to be a time server.") +
                QString::fromLatin1(vbCrLf) +
                QCoreApplication::translate(
                    "TimeSyncTexts",
                    "Please check the address or try another time server from the list."),
            MsgBoxIcon::Exclamation, Oops(), QString(), 0};
}

} // namespace horlan
