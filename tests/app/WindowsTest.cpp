// Every window's texts fit their controls; the main window is found by keyboard and by ear.

#include "MainWindowHarness.h"

#include "about/frmabout.h"
#include "netstatus/frmInfo.h"
#include "runtime/LabelClick.h"
#include "serverlist/frmDownload.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QStyleOptionButton>
#include <QTest>

using namespace horlan;

namespace {

// Each label's and button's text within the room its control draws it in, cut to what the
// parent leaves visible.
void ExpectTextsFit(const QWidget& form) {
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(w);
        const auto* button = qobject_cast<const QAbstractButton*>(w);
        QRect room = w->contentsRect().marginsRemoved(QMargins() + (label ? label->margin() : 0));
        int flags = Qt::TextShowMnemonic | Qt::AlignLeft | Qt::AlignVCenter;
        if (label != nullptr) {
            flags = label->alignment() | (label->wordWrap() ? Qt::TextWordWrap : 0);
        } else if (button != nullptr) {
            QStyleOptionButton option;
            option.initFrom(button);
            room = w->style()->subElementRect(qobject_cast<const QCheckBox*>(w)
                                                  ? QStyle::SE_CheckBoxContents
                                                  : QStyle::SE_PushButtonContents,
                                              &option, button);
        }
        const QString text = label ? label->text() : button ? button->text() : QString();
        const QRect parent = w->parentWidget()->contentsRect();
        room &= parent.translated(w->mapFrom(w->parentWidget(), QPoint()));
        const QRect needed = w->fontMetrics().boundingRect(room, flags, text);
        EXPECT_TRUE(text.isEmpty() || w->isHidden() || room.contains(needed))
            << w->objectName().toStdString() << " cuts \"" << text.toStdString() << "\"";
    }
}

} // namespace

TEST_F(MainWindowTest, EveryTextFitsItsControl) {
    const QFont desktop = QApplication::font();
    for (const int points : {desktop.pointSize(), 14}) {
        SCOPED_TRACE(points);
        QFont font = desktop;
        font.setPointSize(points);
        QApplication::setFont(font);
        ASSERT_NE(Open(), nullptr);
        InternetConnectionState state(connection);
        frmInfo info(state, msgBox, end);
        ASSERT_TRUE(info.Form_Load());
        frmabout about(shell, nullptr);
        frmDownload download(shell, msgBox, end, saveLocation, ProgramFolder(), QUrl());
        for (QWidget* form : QList<QWidget*>{window.get(), &info, &about, &download}) {
            form->show();
            ExpectTextsFit(*form);
        }
        window.reset();
    }
    QApplication::setFont(desktop);
}

TEST_F(MainWindowTest, KeyboardAndScreenReadersFindEachControl) {
    interfaces.Rows = {MakeInterfaceRow(1, 5000, 1000)};
    ASSERT_NE(Open(), nullptr);
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* panel = Child<QWidget>("Picture1");
    const QImage focused = panel->grab().toImage();
    QList<QWidget*> reached;
    for (int tab = 0; tab < 6; ++tab) {
        reached.append(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(reached.first(), panel);
    EXPECT_NE(panel->grab().toImage(), focused) << "no focus frame";
    EXPECT_FALSE(reached.contains(Child<QWidget>("cmdInetStatus")));

    const auto node = [&](const char* name) {
        return QAccessible::queryAccessibleInterface(Child<QWidget>(name));
    };
    // The panel shows the five values, named after their fields; the dotted captions are left out.
    QStringList shown;
    for (int i = 0; i < node("Picture1")->childCount(); ++i) {
        QAccessibleInterface* value = node("Picture1")->child(i);
        shown << value->text(QAccessible::Name);
        ASSERT_NE(value->textInterface(), nullptr) << shown.last().toStdString();
        EXPECT_EQ(value->textInterface()->text(0, value->textInterface()->characterCount()),
                  static_cast<QLabel*>(value->object())->text());
    }
    EXPECT_EQ(shown.join(u','), QStringLiteral("Host name,IP address,UTC date,Local time,Status"));
    EXPECT_TRUE(node("cmdInetStatus")->state().invisible);
    const QSet<QString> names{
        node("Frame1")->text(QAccessible::Name), node("Combo1")->text(QAccessible::Name),
        node("Picture1")->text(QAccessible::Name), node("Image1")->text(QAccessible::Name)};
    EXPECT_EQ(names.size(), 4) << "the group, its drop-down, panel and picture share a name";

    // The activity picture says what it shows: both totals grew, then nothing moved.
    for (const char* state : {"Receiving and sending", "Idle"}) {
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return node("Image1")->text(QAccessible::Description) == QLatin1String(state);
        })) << state;
    }
}

TEST(LinkColor, DocumentedBlueUnlessTheWindowIsDark) {
    const QPalette light(QColor(240, 240, 240)), dark(QColor(49, 54, 59));
    EXPECT_EQ(LinkColor(QColor(0, 0, 192), light), QColor(0, 0, 192));
    EXPECT_EQ(LinkColor(QColor(0, 0, 192), dark), dark.color(QPalette::Link));
}
