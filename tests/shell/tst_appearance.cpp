// The look with the program's skin applied: every caption of every window is readable whole,
// colours of the designs survive the style sheet, and disabled controls look disabled.
#include "core/text_table.h"
#include "shell/program.h"
#include "shell/skin_loader.h"
#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/label.h"
#include "ui/window_builder.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QImage>
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

// Pixels of rect dark enough to be the skin's text (#1f2d24 and its anti-aliased edges) rather
// than a background, a highlight or a frame.
int darkPixels(const QImage &image, const QRect &row)
{
    const QRect rect = row & image.rect();
    int dark = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 110 ? 1 : 0;
    }
    return dark;
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

    // The item the cursor is on in an open drop-down: its text stays readable and it stands out
    // from the others, so a clerk choosing with the arrow keys sees where he is.
    void dropDownCursorItemIsReadable_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<int>("texts");
        QTest::newRow("a list of units") << false << 4;
        QTest::newRow("a box that takes typed text") << true << 4;
        QTest::newRow("a long keyword list") << true << 2500;
    }

    void dropDownCursorItemIsReadable()
    {
        QFETCH(bool, editable);
        QFETCH(int, texts);
        QDialog window;
        auto *box = new ComboBox(&window);
        box->setEditableText(editable);
        QStringList items{QStringLiteral("山柳村委会"), QStringLiteral("阎汉村委会"), QStringLiteral("林福村委会")};
        while (items.size() < texts)
            items.append(QStringLiteral("全部%1").arg(items.size()));
        box->addTexts(TextTable::fromStringList(items));
        box->setCurrentIndex(0);
        box->resize(160, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        box->showPopup();
        QAbstractItemView *view = box->view();
        QTRY_VERIFY(view->isVisible());
        view->setCurrentIndex(box->model()->index(1, 0));
        const QImage image = view->viewport()->grab().toImage();
        const QRect cursor = view->visualRect(box->model()->index(1, 0)) & image.rect();
        const QRect other = view->visualRect(box->model()->index(2, 0)) & image.rect();
        box->hidePopup();

        QVERIFY2(darkPixels(image, cursor) > 20,
                 qPrintable(QStringLiteral("the cursor item shows %1 text pixels").arg(darkPixels(image, cursor))));
        QVERIFY(darkPixels(image, other) > 20);
        const QPoint inCursor(cursor.right() - 4, cursor.center().y()); // beside the text
        const QPoint inOther(other.right() - 4, other.center().y());
        QVERIFY2(image.pixel(inCursor) != image.pixel(inOther), "the cursor item looks like the others");
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
