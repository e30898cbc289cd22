// The real message boxes: a question's default button is the one its caller named, so Return
// on a deletion question answers No.
#include "ui/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace fenlark;

class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void questionDefault_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("expectedButton");
        QTest::newRow("destroying question") << int(DefaultAnswer::No) << int(QMessageBox::No);
        QTest::newRow("harmless question") << int(DefaultAnswer::Yes) << int(QMessageBox::Yes);
    }

    void questionDefault()
    {
        QFETCH(int, asked);
        QFETCH(int, expectedButton);
        int seenDefault = -1;
        bool seenBox = false;
        // The box runs its own event loop: look at it from inside, then press Return on it.
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seenBox = true;
            if (QPushButton *button = box->defaultButton())
                seenDefault = int(box->standardButton(button));
            QTest::keyClick(box, Qt::Key_Return);
            if (box->isVisible())
                box->done(QMessageBox::No);
        });
        QtDialogs dialogs;
        const bool yes = dialogs.askYesNo(nullptr, QStringLiteral("删除?"), MessageIcon::None, defaultMessageTitle(),
                                          DefaultAnswer(asked));
        QVERIFY(seenBox);
        QCOMPARE(seenDefault, expectedButton);
        QCOMPARE(yes, expectedButton == int(QMessageBox::Yes)); // Return pressed the default
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
