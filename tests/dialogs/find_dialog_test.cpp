#include "dialogs/find_dialog.h"

#include "support/test_support.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using plotwell::FindDialog;

namespace {

template <typename Widget>
Widget* Child(QWidget& parent, const char* name)
{
    auto* child = parent.findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

} // namespace

TEST(FindDialog, OffersTheStartTextAndReportsWhatToFind)
{
    QWidget owner;
    FindDialog dialog(&owner);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Find"));
    EXPECT_FALSE(dialog.isModal());
    dialog.SetFindText(QStringLiteral("Max"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    auto* edit = Child<QLineEdit>(dialog, "findedit");
    auto* matchCase = Child<QCheckBox>(dialog, "matchcasecb");
    auto* findNext = Child<QPushButton>(dialog, "findnextbtn");
    ASSERT_TRUE(edit && matchCase && findNext);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("Max")) << "typing replaces the offered text";
    EXPECT_FALSE(Child<QCheckBox>(dialog, "wholewordcb")->isVisible());

    QSignalSpy spy(&dialog, &FindDialog::findNext);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("Avg"));
    QTest::keyClick(matchCase, Qt::Key_Space);
    EXPECT_TRUE(dialog.MatchCase());
    QTest::mouseClick(findNext, Qt::LeftButton);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][0].toString(), QStringLiteral("Max"));
    EXPECT_FALSE(spy[0][1].toBool());
    EXPECT_EQ(spy[1][0].toString(), QStringLiteral("Avg"));
    EXPECT_TRUE(spy[1][1].toBool());
    EXPECT_EQ(dialog.FindText(), QStringLiteral("Avg"));
    EXPECT_TRUE(dialog.isVisible()) << "stays open for the next search";
}

TEST(FindDialog, NothingToFindWithAnEmptyTextAndEscapeCloses)
{
    QWidget owner;
    FindDialog dialog(&owner);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy spy(&dialog, &FindDialog::findNext);
    auto* edit = Child<QLineEdit>(dialog, "findedit");
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(Child<QPushButton>(dialog, "findnextbtn")->isEnabled());
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(spy.count(), 0);

    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(FindDialog, EveryControlHasAnAccessibleName)
{
    QWidget owner;
    FindDialog dialog(&owner);
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(control) || qobject_cast<QCheckBox*>(control) ||
            qobject_cast<QPushButton*>(control)) {
            EXPECT_FALSE(control->objectName().isEmpty());
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
        }
    }
}
