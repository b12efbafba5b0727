// Every window's texts fit their controls, and the main window reads well to a screen reader.

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

// The part of `w` in which its text is drawn, cut to what its parent leaves visible.
QRect TextRect(const QWidget* w) {
    QRect rect = w->contentsRect();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        rect.adjust(label->margin(), label->margin(), -label->margin(), -label->margin());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        rect = w->style()->subElementRect(qobject_cast<const QCheckBox*>(w)
                                              ? QStyle::SE_CheckBoxContents
                                              : QStyle::SE_PushButtonContents,
                                          &option, button);
    }
    const QWidget* parent = w->parentWidget();
    return rect & QRect(w->mapFrom(parent, parent->contentsRect().topLeft()),
                        parent->contentsRect().size());
}

void ExpectTextsFit(const QWidget& form, const QString& font) {
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        QString text;
        int flags = Qt::TextShowMnemonic;
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            text = label->text();
            flags = label->alignment() | (label->wordWrap() ? Qt::TextWordWrap : 0);
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            text = button->text();
            flags |= Qt::AlignLeft | Qt::AlignVCenter;
        }
        if (text.isEmpty() || w->isHidden()) {
            continue;
        }
        const QRect room = TextRect(w);
        const QRect needed = w->fontMetrics().boundingRect(room, flags, text);
        EXPECT_TRUE(room.contains(needed))
            << form.objectName().toStdString() << "." << w->objectName().toStdString() << " at "
            << font.toStdString() << ": \"" << text.toStdString() << "\" needs " << needed.width()
            << "x" << needed.height() << ", has " << room.width() << "x" << room.height();
    }
}

} // namespace

TEST_F(MainWindowTest, EveryTextFitsItsControl) {
    const QFont desktop = QApplication::font();
    for (const int points : {0, 14}) {
        QFont font = desktop;
        if (points > 0) {
            font.setPointSize(points);
        }
        QApplication::setFont(font);
        ASSERT_NE(Open(), nullptr);
        InternetConnectionState state(connection);
        frmInfo info(state, msgBox, end);
        ASSERT_TRUE(info.Form_Load());
        frmabout about(shell, nullptr);
        QPointer<frmDownload> download;
        frmDownload::ShowOne(download, shell, msgBox, end, saveLocation, ProgramFolder(),
                             QUrl(QStringLiteral("http://127.0.0.1:9/list.txt")));
        for (QWidget* form : QList<QWidget*>{window.get(), &info, &about, download.data()}) {
            form->show();
            ExpectTextsFit(*form, font.toString());
        }
        delete download.data();
        window.reset();
    }
    QApplication::setFont(desktop);
}

namespace {

// Every accessible object under `root`, by its object's name.
void Collect(QAccessibleInterface* node, QMap<QString, QAccessibleInterface*>& found) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr || child->object() == nullptr) {
            continue; // the drop-down's entries
        }
        found.insert(child->object()->objectName(), child);
        Collect(child, found);
    }
}

} // namespace

TEST_F(MainWindowTest, ScreenReadersHearEachFieldByItsName) {
    interfaces.Rows = {MakeInterfaceRow(1, 5000, 1000)};
    ASSERT_NE(Open(), nullptr);
    QMap<QString, QAccessibleInterface*> tree;
    Collect(QAccessible::queryAccessibleInterface(window.get()), tree);
    const struct {
        const char* label;
        const char* name;
    } values[] = {{"lblHostname", "Host name"},
                  {"lblIPaddress", "IP address"},
                  {"lblUTCdate", "UTC date"},
                  {"lblLocalTime", "Local time"},
                  {"lblSync", "Status"}};
    for (const auto& row : values) {
        QAccessibleInterface* node = tree.value(QString::fromLatin1(row.label));
        ASSERT_NE(node, nullptr) << row.label;
        EXPECT_EQ(node->text(QAccessible::Name), QString::fromLatin1(row.name));
        ASSERT_NE(node->textInterface(), nullptr) << row.label;
        EXPECT_EQ(node->textInterface()->text(0, node->textInterface()->characterCount()),
                  Label(row.label));
    }
    for (const char* caption : {"lblHost", "lblIP", "lblUTC", "lblLocalT"}) {
        EXPECT_FALSE(tree.contains(QString::fromLatin1(caption))) << caption << " is read";
    }
    EXPECT_TRUE(tree.value(QStringLiteral("cmdInetStatus"))->state().invisible);
    QSet<QString> names;
    for (const char* control : {"Frame1", "Combo1", "Picture1", "Image1"}) {
        names.insert(tree.value(QString::fromLatin1(control))->text(QAccessible::Name));
    }
    EXPECT_EQ(names.size(), 4) << "the group, its drop-down, panel and picture share a name";

    // The activity picture says what it shows: both totals grew, then nothing moved.
    QAccessibleInterface* image = tree.value(QStringLiteral("Image1"));
    for (const char* state : {"Receiving and sending", "Idle"}) {
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return image->text(QAccessible::Description) == QLatin1String(state);
        })) << state;
    }
}

TEST_F(MainWindowTest, KeyboardFocusIsShownAndStaysInSight) {
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

    // Enter synchronizes at once, without an animated press first.
    Combo1()->addItem(QStringLiteral("a.b"));
    Combo1()->setCurrentIndex(Combo1()->count() - 1);
    Combo1()->setFocus();
    QTest::keyClick(Combo1(), Qt::Key_Return);
    EXPECT_EQ(msgBox.Boxes.size(), 1);
}

TEST(LinkColor, DocumentedBlueUnlessTheWindowIsDark) {
    const QColor themeLink(41, 128, 185);
    const struct {
        QColor window, link;
    } rows[] = {{QColor(240, 240, 240), QColor(0, 0, 192)}, {QColor(49, 54, 59), themeLink}};
    for (const auto& row : rows) {
        QPalette palette;
        palette.setColor(QPalette::Window, row.window);
        palette.setColor(QPalette::Link, themeLink);
        EXPECT_EQ(LinkColor(QColor(0, 0, 192), palette), row.link)
            << row.window.name().toStdString();
    }
}
