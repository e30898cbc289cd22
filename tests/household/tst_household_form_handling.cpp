// How the household form handles the keyboard and the mouse as a window: Return in a field
// presses no button, Esc asks before throwing typed work away, the title strip moves the form.
#include "household_fixture.h"
#include "ui/drag_events.h"

#include <QMouseEvent>
#include <QtTest>

using namespace fenlark;

class HouseholdFormHandlingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void returnInAFieldPressesNoButton()
    {
        HouseholdFixture f;
        bool helpOpened = false;
        f.dialogs.onNextModal([&](QDialog *w) {
            f.dialogs.onNextModal([&](QDialog *help) {
                helpOpened = true;
                help->close();
            });
            auto *address = control<EditBox>(w, u"编辑框9");
            address->setFocus();
            QTest::keyClicks(address, QStringLiteral("yizu"));
            QTest::keyClick(address, Qt::Key_Return);
            QTest::keyClick(control<EditBox>(w, u"编辑框14"), Qt::Key_Enter);
            QVERIFY(w->isVisible());
            for (const QPushButton *button : w->findChildren<QPushButton *>()) {
                QVERIFY2(!button->autoDefault(), qPrintable(button->objectName()));
                QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
            }
        });
        openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);
        QVERIFY(!helpOpened);
        QVERIFY(f.dialogs.shown().empty()); // 保存 was not pressed either: it would show a check's message
        QVERIFY(f.households().isEmpty());
    }

    void escapeAsksOnlyForChangedForms_data()
    {
        QTest::addColumn<bool>("modify");
        QTest::addColumn<QString>("change"); // empty: none
        QTest::addColumn<bool>("answer");    // to the question, when it is asked
        QTest::addColumn<bool>("closed");
        QTest::newRow("new form untouched") << false << QString() << false << true;
        QTest::newRow("loaded form untouched") << true << QString() << false << true;
        QTest::newRow("field typed, keep editing") << false << "field" << false << false;
        QTest::newRow("field typed, discard") << false << "field" << true << true;
        QTest::newRow("member changed, keep editing") << true << "member" << false << false;
        QTest::newRow("choice changed, keep editing") << true << "choice" << false << false;
        QTest::newRow("loaded form changed, discard") << true << "field" << true << true;
    }

    void escapeAsksOnlyForChangedForms()
    {
        QFETCH(bool, modify);
        QFETCH(QString, change);
        QFETCH(bool, answer);
        QFETCH(bool, closed);
        HouseholdFixture f;
        f.addHousehold(2016, QStringLiteral("张三"), QStringLiteral("村A"), card(1));
        f.list.setCursorCell(1, 1);
        const QStringList stored = f.households();
        f.dialogs.answerNext(answer);
        bool visibleAfterEscape = true;
        f.dialogs.onNextModal([&](QDialog *w) {
            auto *address = control<EditBox>(w, u"编辑框9");
            if (change == QStringLiteral("field"))
                address->setContent(address->content() + QStringLiteral("改"));
            else if (change == QStringLiteral("member"))
                form(w)->memberGrid().setCell(2, 0, EGrid::TextCell, QStringLiteral("李四"));
            else if (change == QStringLiteral("choice"))
                control<CheckBox>(w, u"选择框2")->toggle();
            address->setFocus();
            QTest::keyClick(address, Qt::Key_Escape);
            visibleAfterEscape = w->isVisible();
        });
        if (modify)
            openHouseholdForModify(f.state, f.connection, f.dialogs, f.context(), nullptr);
        else
            openHouseholdForAdd(f.state, f.connection, f.dialogs, f.context(), nullptr);

        QCOMPARE(!visibleAfterEscape, closed);
        if (change.isEmpty()) {
            QVERIFY(f.dialogs.shown().empty());
        } else {
            QCOMPARE(f.dialogs.shown().size(), size_t(1));
            const auto &question = f.dialogs.shown().front();
            QVERIFY(question.question);
            QCOMPARE(question.defaultAnswer, DefaultAnswer::No); // Return keeps the typed work
            QCOMPARE(question.icon, MessageIcon::Question);
        }
        QCOMPARE(f.households(), stored); // Esc never saves
    }

    void titleStripMovesTheForm()
    {
        HouseholdFixture f;
        f.state.editMode = kEditModeAdd;
        HouseholdEditWindow window(f.state, f.connection, f.dialogs, f.context());
        window.move(50, 50);
        window.show();
        const QPoint before = window.pos();
        drag(control<Label>(&window, u"标签13"), QPoint(200, 10), QPoint(120, 70));
        QCOMPARE(window.pos(), before + QPoint(120, 70));
        // The close button at the strip's end still closes; it does not start a drag.
        drag(control<SuperBtn>(&window, u"超级按钮1"), QPoint(5, 5), QPoint(30, 30));
        QCOMPARE(window.pos(), before + QPoint(120, 70));
    }
};

QTEST_MAIN(HouseholdFormHandlingTest)
#include "tst_household_form_handling.moc"
