// The look with the program's skin applied: every caption of every window is readable whole,
// colours of the designs survive the style sheet, and disabled controls look disabled.
#include "shell/program.h"
#include "shell/skin_loader.h"
#include "ui/buttons.h"
#include "ui/label.h"
#include "ui/window_builder.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QStyleOptionButton>
#include <QTest>

using namespace fenlark;

namespace {

const char *const kDesigns[] = {":/designs/main_window.json", ":/designs/household_edit.json",
                                ":/designs/query_window.json", ":/designs/region_entry.json",
                                ":/designs/help_window.json"};

// Room a button's style leaves for its caption (the style sheet's border and padding taken off).
int captionRoom(QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
}

} // namespace

class AppearanceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        prepareApplication(*qApp);
        SkinLoader().applySkin(SkinLoader::storedSkin(), 0, 0, 0, false);
    }

    void buttonCaptionsFit_data()
    {
        QTest::addColumn<QString>("design");
        for (const char *design : kDesigns)
            QTest::newRow(design) << QString::fromLatin1(design);
    }

    void buttonCaptionsFit()
    {
        QFETCH(QString, design);
        QDialog window;
        const BuiltWindow built = buildWindow(design, &window);
        QVERIFY(built.ok());
        window.show();
        for (const QString &name : built.names()) {
            auto *button = built.control<Button>(name);
            if (!button || button->text().isEmpty())
                continue;
            button->ensurePolished();
            const int needed = button->fontMetrics().horizontalAdvance(button->text());
            QVERIFY2(captionRoom(button) >= needed, qPrintable(QStringLiteral("%1 \"%2\": room %3, needs %4")
                                                                   .arg(name, button->text())
                                                                   .arg(captionRoom(button))
                                                                   .arg(needed)));
        }
    }

    // The household form's title strip and its close button are white on dark blue, as designed.
    void designTextColourSurvivesTheSkin()
    {
        QDialog window;
        const BuiltWindow built = buildWindow(QStringLiteral(":/designs/household_edit.json"), &window);
        window.show();
        auto *title = built.control<Label>(QStringLiteral("标签13"));
        QVERIFY(title);
        title->ensurePolished();
        QCOMPARE(title->palette().color(QPalette::Active, QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(title->palette().color(QPalette::Active, QPalette::Window), QColor(QStringLiteral("#2b579a")));
        auto *close = built.control<SuperBtn>(QStringLiteral("超级按钮1")); // on the same strip
        close->ensurePolished();
        QCOMPARE(close->palette().color(QPalette::Active, QPalette::ButtonText), QColor(Qt::white));
    }

    void disabledControlsGrey()
    {
        QDialog window;
        auto *label = new Label(&window);
        label->setCaption(QStringLiteral("上年度领取的低保金"));
        auto *box = new CheckBox(&window);
        box->setCaption(QStringLiteral("是否党员"));
        auto *edit = new QLineEdit(&window);
        window.show();
        for (QWidget *widget :
             {static_cast<QWidget *>(label), static_cast<QWidget *>(box), static_cast<QWidget *>(edit)}) {
            widget->setEnabled(false);
            widget->ensurePolished();
            const QPalette palette = widget->palette();
            for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                QVERIFY2(palette.color(QPalette::Disabled, role) != palette.color(QPalette::Active, role),
                         widget->metaObject()->className());
        }
    }
};

QTEST_MAIN(AppearanceTest)
#include "tst_appearance.moc"
