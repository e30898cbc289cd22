#include "ui/window_builder.h"

#include "ui/buttons.h"
#include "ui/combo_box.h"
#include "ui/containers.h"
#include "ui/date_picker.h"
#include "ui/edit_box.h"
#include "ui/egrid.h"
#include "ui/label.h"
#include "ui/page_control.h"
#include "ui/pic_box.h"
#include "ui/popup_menu.h"
#include "ui/tool_bar.h"
#include "ui/tree_box.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtDebug>

#include <optional>

namespace fenlark {

QStringList withRareCharacterFonts(QStringList families)
{
    // Simplified Chinese first: with only the pan-CJK Noto fonts Qt would take Japanese forms.
    // Then the fonts that hold the extensions: HanaMinA (A), HanaMinB (B to F), BabelStone Han
    // (also G). The package depends on all of them.
    static const QStringList rare{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("HanaMinA"),
                                  QStringLiteral("HanaMinB"), QStringLiteral("BabelStone Han")};
    for (const QString &family : rare)
        if (!families.contains(family))
            families << family;
    return families;
}

QFont captionFont(int pixelSize)
{
    QFont font;
    font.setFamilies(withRareCharacterFonts({QStringLiteral("微软雅黑"), QStringLiteral("WenQuanYi Micro Hei")}));
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    return font;
}

namespace {

QString str(const char *latin1)
{
    return QString::fromLatin1(latin1);
}

// Kinds whose text the window font applies to; the others keep the default font.
bool isCaptioned(const QString &kind)
{
    static const QSet<QString> kinds{str("Label"),    str("Button"),    str("SuperBtn"), str("CheckBox"),
                                     str("RadioBox"), str("EditBox"),   str("ComboBox"), str("ToolBar"),
                                     str("TreeBox"),  str("DatePicker")};
    return kinds.contains(kind);
}

const QHash<QString, QStringList> &kindKeys()
{
    static const QHash<QString, QStringList> keys{
        {str("Label"), {str("caption"), str("colour"), str("align")}},
        {str("Button"), {str("caption")}},
        {str("SuperBtn"), {str("caption")}},
        {str("EditBox"), {str("input"), str("content")}},
        {str("CheckBox"), {str("caption"), str("checked")}},
        {str("RadioBox"), {str("caption"), str("checked")}},
        {str("ComboBox"), {str("items"), str("editable")}},
        {str("DatePicker"), {}},
        {str("PicBox"), {str("image")}},
        {str("ShapeBox"), {str("colour")}},
        {str("GroupBox"), {str("caption")}},
        {str("PageControl"), {str("pages"), str("tabs")}},
        {str("ToolBar"), {str("items")}},
        {str("TreeBox"), {str("images")}},
        {str("EGrid"),
         {str("columns"), str("rows"), str("defaultColumnWidth"), str("rowHeight"), str("headers"), str("columnWidths"),
          str("checkColumns"), str("editable"), str("rowSelect")}},
        {str("Menu"), {str("items")}},
    };
    return keys;
}

const QStringList &commonKeys()
{
    static const QStringList keys{str("name"),     str("kind"),       str("parent"),   str("page"),
                                  str("rect"),     str("font"),       str("fontSize"), str("visible"),
                                  str("disabled"), str("textColour"), str("note")};
    return keys;
}

class Builder {
public:
    Builder(QWidget *into, const QString &source) : m_into(into), m_source(source) {}

    void run(const QByteArray &json);

    QHash<QString, QPointer<QObject>> controls;
    QHash<QString, QString> kinds;
    QStringList order;
    QStringList errors;

private:
    void error(const QString &text) { errors.append(m_source + QStringLiteral(": ") + text); }
    void buildWindowItself(const QJsonObject &design);
    void buildControl(const QJsonObject &design);
    QWidget *parentFor(const QJsonObject &design, const QString &name);
    QObject *create(const QString &kind, QWidget *parent);
    void applyFont(QWidget *widget, const QString &kind, const QJsonObject &design, const QString &name);
    void configure(QObject *object, const QJsonObject &design, const QString &name);
    std::optional<QRect> rectOf(const QJsonValue &value);

    QWidget *m_into;
    QString m_source;
    std::optional<QFont> m_windowFont;
};

void Builder::run(const QByteArray &json)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        error(QStringLiteral("not a design (%1 at offset %2)").arg(parseError.errorString()).arg(parseError.offset));
        return;
    }
    const QJsonObject design = document.object();
    buildWindowItself(design);
    const QJsonValue controls = design.value(str("controls"));
    if (!controls.isArray()) {
        error(QStringLiteral("\"controls\" must be a list"));
        return;
    }
    for (const QJsonValue &control : controls.toArray()) {
        if (!control.isObject()) {
            error(QStringLiteral("a control must be an object"));
            continue;
        }
        buildControl(control.toObject());
    }
}

std::optional<QRect> Builder::rectOf(const QJsonValue &value)
{
    const QJsonArray parts = value.toArray();
    if (!value.isArray() || parts.size() != 4)
        return std::nullopt;
    for (const QJsonValue &part : parts) {
        if (!part.isDouble())
            return std::nullopt;
    }
    return QRect(parts.at(0).toInt(), parts.at(1).toInt(), parts.at(2).toInt(), parts.at(3).toInt());
}

void Builder::buildWindowItself(const QJsonObject &design)
{
    static const QStringList known{str("title"),     str("rect"),     str("font"), str("frameless"),
                                   str("fixedSize"), str("controls"), str("note")};
    for (const QString &key : design.keys()) {
        if (!known.contains(key))
            error(QStringLiteral("window: unknown key \"%1\"").arg(key));
    }
    if (!m_into)
        return;
    if (design.contains(str("title")))
        m_into->setWindowTitle(design.value(str("title")).toString());
    if (design.value(str("frameless")).toBool())
        m_into->setWindowFlag(Qt::FramelessWindowHint, true);
    if (design.contains(str("rect"))) {
        if (const auto rect = rectOf(design.value(str("rect")))) {
            m_into->move(rect->topLeft());
            m_into->resize(rect->size());
            if (design.value(str("fixedSize")).toBool())
                m_into->setFixedSize(rect->size());
        } else {
            error(QStringLiteral("window: \"rect\" must be [left, top, width, height]"));
        }
    }
    const QJsonValue font = design.value(str("font"));
    if (font.isObject()) {
        const QJsonObject fontDesign = font.toObject();
        QFont windowFont = captionFont(fontDesign.value(str("pixelSize")).toInt(12));
        const QJsonArray families = fontDesign.value(str("families")).toArray();
        if (!families.isEmpty()) {
            QStringList names;
            for (const QJsonValue &family : families)
                names.append(family.toString());
            windowFont.setFamilies(withRareCharacterFonts(names));
        }
        m_windowFont = windowFont;
    } else if (!font.isUndefined() && !font.isNull()) {
        error(QStringLiteral("window: \"font\" must be an object"));
    }
}

QWidget *Builder::parentFor(const QJsonObject &design, const QString &name)
{
    const QString parentName = design.value(str("parent")).toString();
    if (parentName.isEmpty() || parentName == str("window")) {
        if (design.contains(str("page")))
            error(QStringLiteral("%1: \"page\" without a page control as parent").arg(name));
        return m_into;
    }
    QWidget *parent = qobject_cast<QWidget *>(controls.value(parentName).data());
    if (!parent || qobject_cast<PopupMenu *>(parent)) {
        error(QStringLiteral("%1: parent \"%2\" is not a container listed before it").arg(name, parentName));
        return nullptr;
    }
    if (auto *pages = qobject_cast<PageControl *>(parent)) {
        const int page = design.value(str("page")).toInt(-1);
        if (!pages->page(page)) {
            error(QStringLiteral("%1: page %2 of \"%3\" does not exist").arg(name).arg(page).arg(parentName));
            return nullptr;
        }
        return pages->page(page);
    }
    if (design.contains(str("page")))
        error(QStringLiteral("%1: \"page\" but \"%2\" is no page control").arg(name, parentName));
    return parent;
}

QObject *Builder::create(const QString &kind, QWidget *parent)
{
    if (kind == str("Label"))
        return new Label(parent);
    if (kind == str("Button"))
        return new Button(parent);
    if (kind == str("SuperBtn"))
        return new SuperBtn(parent);
    if (kind == str("EditBox"))
        return new EditBox(parent);
    if (kind == str("CheckBox"))
        return new CheckBox(parent);
    if (kind == str("RadioBox"))
        return new RadioBox(parent);
    if (kind == str("ComboBox"))
        return new ComboBox(parent);
    if (kind == str("DatePicker"))
        return new DatePicker(parent);
    if (kind == str("PicBox"))
        return new PicBox(parent);
    if (kind == str("ShapeBox"))
        return new ShapeBox(parent);
    if (kind == str("GroupBox"))
        return new GroupBox(parent);
    if (kind == str("PageControl"))
        return new PageControl(parent);
    if (kind == str("ToolBar"))
        return new ToolBar(parent);
    if (kind == str("TreeBox"))
        return new TreeBox(parent);
    if (kind == str("EGrid"))
        return new EGrid(parent);
    if (kind == str("Menu"))
        return new PopupMenu(parent);
    return nullptr;
}

void Builder::buildControl(const QJsonObject &design)
{
    const QString name = design.value(str("name")).toString();
    const QString kind = design.value(str("kind")).toString();
    if (name.isEmpty()) {
        error(QStringLiteral("a control without a name"));
        return;
    }
    if (controls.contains(name)) {
        error(QStringLiteral("%1: the name is used twice").arg(name));
        return;
    }
    if (!kindKeys().contains(kind)) {
        error(QStringLiteral("%1: unknown kind \"%2\"").arg(name, kind));
        return;
    }
    const QStringList &own = kindKeys()[kind];
    for (const QString &key : design.keys()) {
        if (!commonKeys().contains(key) && !own.contains(key))
            error(QStringLiteral("%1: \"%2\" is not a key of a %3").arg(name, key, kind));
    }
    QWidget *parent = parentFor(design, name);
    if (!parent)
        return;

    QObject *object = create(kind, parent);
    object->setObjectName(name);
    controls.insert(name, object);
    kinds.insert(name, kind);
    order.append(name);

    auto *widget = qobject_cast<QWidget *>(object);
    if (kind != str("Menu")) {
        if (const auto rect = rectOf(design.value(str("rect"))))
            widget->setGeometry(*rect);
        else
            error(QStringLiteral("%1: \"rect\" must be [left, top, width, height]").arg(name));
        if (design.contains(str("visible")))
            widget->setVisible(design.value(str("visible")).toBool());
        widget->setEnabled(!design.value(str("disabled")).toBool());
        if (design.contains(str("textColour"))) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText, QColor(design.value(str("textColour")).toString()));
            palette.setColor(QPalette::ButtonText, QColor(design.value(str("textColour")).toString()));
            widget->setPalette(palette);
        }
    }
    applyFont(widget, kind, design, name);
    configure(object, design, name);
}

void Builder::applyFont(QWidget *widget, const QString &kind, const QJsonObject &design, const QString &name)
{
    const QJsonValue font = design.value(str("font"));
    if (font.isString()) {
        if (font.toString() != str("default"))
            error(QStringLiteral("%1: \"font\" is \"default\" or an object").arg(name));
        return; // the default font, as the container's
    }
    std::optional<QFont> chosen;
    if (m_windowFont && isCaptioned(kind))
        chosen = *m_windowFont;
    if (font.isObject()) {
        const QJsonObject own = font.toObject();
        QFont custom = chosen.value_or(m_windowFont.value_or(captionFont()));
        if (own.contains(str("pixelSize")))
            custom.setPixelSize(own.value(str("pixelSize")).toInt());
        if (own.contains(str("bold")))
            custom.setBold(own.value(str("bold")).toBool());
        const QJsonArray families = own.value(str("families")).toArray();
        if (!families.isEmpty()) {
            QStringList names;
            for (const QJsonValue &family : families)
                names.append(family.toString());
            custom.setFamilies(withRareCharacterFonts(names));
        }
        chosen = custom;
    }
    if (design.contains(str("fontSize"))) {
        QFont sized = chosen.value_or(m_windowFont.value_or(captionFont()));
        sized.setPixelSize(design.value(str("fontSize")).toInt());
        chosen = sized;
    }
    if (chosen)
        widget->setFont(*chosen);
}

void Builder::configure(QObject *object, const QJsonObject &design, const QString &name)
{
    const QString caption = design.value(str("caption")).toString();
    const QJsonArray items = design.value(str("items")).toArray();

    if (auto *label = qobject_cast<Label *>(object)) {
        label->setCaption(caption);
        if (design.contains(str("colour")))
            label->setBackgroundColour(QColor(design.value(str("colour")).toString()));
        const QString align = design.value(str("align")).toString(str("left"));
        if (align == str("centre"))
            label->setAlignment(Qt::AlignCenter);
        else if (align == str("right"))
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        else if (align != str("left"))
            error(QStringLiteral("%1: \"align\" is left, centre or right").arg(name));
    } else if (auto *button = qobject_cast<Button *>(object)) {
        button->setCaption(caption);
    } else if (auto *check = qobject_cast<CheckBox *>(object)) {
        check->setCaption(caption);
        check->setChecked(design.value(str("checked")).toBool());
    } else if (auto *radio = qobject_cast<RadioBox *>(object)) {
        radio->setCaption(caption);
        radio->setChecked(design.value(str("checked")).toBool());
    } else if (auto *group = qobject_cast<GroupBox *>(object)) {
        group->setCaption(caption);
    } else if (auto *edit = qobject_cast<EditBox *>(object)) {
        const QString input = design.value(str("input")).toString(str("text"));
        if (input == str("decimal"))
            edit->setInput(EditBox::Input::Decimal);
        else if (input == str("multiline"))
            edit->setInput(EditBox::Input::MultiLine);
        else if (input != str("text"))
            error(QStringLiteral("%1: \"input\" is text, decimal or multiline").arg(name));
        edit->setContent(design.value(str("content")).toString());
    } else if (auto *combo = qobject_cast<ComboBox *>(object)) {
        combo->setEditableText(design.value(str("editable")).toBool());
        for (const QJsonValue &item : items) {
            if (item.isObject())
                combo->addItem(item.toObject().value(str("text")).toString(),
                               item.toObject().value(str("value")).toInt());
            else
                combo->addItem(item.toString());
        }
    } else if (auto *shape = qobject_cast<ShapeBox *>(object)) {
        if (design.contains(str("colour")))
            shape->setBackgroundColour(QColor(design.value(str("colour")).toString()));
    } else if (auto *pages = qobject_cast<PageControl *>(object)) {
        for (const QJsonValue &page : design.value(str("pages")).toArray())
            pages->addPage(page.toString());
        pages->setTabsVisible(design.value(str("tabs")).toBool(true));
    } else if (auto *bar = qobject_cast<ToolBar *>(object)) {
        for (const QJsonValue &item : items) {
            const QJsonObject entry = item.toObject();
            if (item.isObject() && entry.value(str("separator")).toBool()) {
                bar->addSeparatorButton();
                continue;
            }
            const QString text = item.isObject() ? entry.value(str("text")).toString() : item.toString();
            const QString icon = entry.value(str("icon")).toString();
            const int index = bar->addButton(text, icon.isEmpty() ? QIcon() : QIcon(icon));
            if (entry.contains(str("state")))
                bar->addState(index, entry.value(str("state")).toInt());
        }
    } else if (auto *tree = qobject_cast<TreeBox *>(object)) {
        QList<QIcon> images;
        for (const QJsonValue &image : design.value(str("images")).toArray())
            images.append(QIcon(image.toString()));
        tree->setImageList(images);
    } else if (auto *grid = qobject_cast<EGrid *>(object)) {
        grid->setColumnCount(design.value(str("columns")).toInt(0));
        if (design.contains(str("defaultColumnWidth")))
            grid->setDefaultColumnWidth(design.value(str("defaultColumnWidth")).toInt());
        if (design.contains(str("rowHeight")))
            grid->setUniformRowHeight(design.value(str("rowHeight")).toInt());
        grid->setEditable(design.value(str("editable")).toBool());
        grid->setRowSelection(design.value(str("rowSelect")).toBool());
        const QJsonArray headers = design.value(str("headers")).toArray();
        for (int c = 0; c < headers.size(); ++c)
            grid->setCell(0, c, EGrid::TextCell, headers.at(c).toString());
        const QJsonArray widths = design.value(str("columnWidths")).toArray();
        for (int c = 0; c < widths.size(); ++c)
            grid->setColumnWidth(c, widths.at(c).toInt());
        for (const QJsonValue &column : design.value(str("checkColumns")).toArray())
            grid->setCheckColumn(column.toInt(), true);
        for (int r = 1; r < design.value(str("rows")).toInt(1); ++r)
            grid->insertRow();
    } else if (auto *pic = qobject_cast<PicBox *>(object)) {
        if (design.contains(str("image")))
            pic->setImage(QImage(design.value(str("image")).toString()));
    } else if (auto *menu = qobject_cast<PopupMenu *>(object)) {
        for (const QJsonValue &item : items)
            menu->addItem(item.toString());
    }
}

} // namespace

BuiltWindow WindowBuilder::build(const QByteArray &json, QWidget *into, const QString &source)
{
    Builder builder(into, source);
    builder.run(json);
    BuiltWindow result;
    result.m_window = into;
    result.m_controls = std::move(builder.controls);
    result.m_kinds = std::move(builder.kinds);
    result.m_order = std::move(builder.order);
    result.m_errors = std::move(builder.errors);
    for (const QString &text : result.errors())
        qWarning().noquote() << text;
    return result;
}

BuiltWindow buildWindow(const QString &resourcePath, QWidget *into)
{
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return WindowBuilder::build(QByteArray(), into, resourcePath + QStringLiteral(" cannot be read"));
    return WindowBuilder::build(file.readAll(), into, resourcePath);
}

BuiltWindow buildWindowFromJson(const QByteArray &json, QWidget *into)
{
    return WindowBuilder::build(json, into, QStringLiteral("design"));
}

} // namespace fenlark
