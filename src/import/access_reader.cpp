#include "import/access_reader.h"

#include "data/access_file.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iconv.h>
#include <memory>

#include <mdbtools.h>

namespace fenlark::importer {

namespace {

// Row-offset flags of a data page. Bit 15 marks a deleted row; bit 14 a row that Access moved
// when it no longer fitted: its slot then holds a pointer (row number, 3-byte page number) to
// the row's data, and the slot it points to carries the deleted bit so that scans skip it.
constexpr int kOffsetMask = 0x1fff;
constexpr int kDeletedRow = 0x8000;
constexpr int kOverflowRow = 0x4000;
constexpr int kMaxOverflowHops = 8;

// A long value (Memo, OLE Object) begins with a 12-byte header: a 3-byte length and a type byte
// (0x80 data follows inline, 0x40 data in one row of a long-value page, 0 a chain of such rows,
// each starting with the page-and-row of the next), then the page-and-row of the first.
constexpr int kLongValueHeader = 12;

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

quint32 le32(const unsigned char *p)
{
    return qFromLittleEndian<quint32>(p);
}

AccessType typeOf(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL:
        return AccessType::Boolean;
    case MDB_BYTE:
        return AccessType::Byte;
    case MDB_INT:
        return AccessType::Integer;
    case MDB_LONGINT:
        return AccessType::LongInteger;
    case MDB_MONEY:
        return AccessType::Currency;
    case MDB_FLOAT:
        return AccessType::Single;
    case MDB_DOUBLE:
        return AccessType::Double;
    case MDB_DATETIME:
        return AccessType::DateTime;
    case MDB_BINARY:
        return AccessType::Binary;
    case MDB_TEXT:
        return AccessType::Text;
    case MDB_OLE:
        return AccessType::Ole;
    case MDB_MEMO:
        return AccessType::Memo;
    case MDB_REPID:
        return AccessType::ReplicationId;
    case MDB_NUMERIC:
        return AccessType::Decimal;
    default:
        return AccessType::Unsupported;
    }
}

// The fixed width a value of the type needs; 0 for variable-length types.
int fixedWidth(AccessType type)
{
    switch (type) {
    case AccessType::Byte:
        return 1;
    case AccessType::Integer:
        return 2;
    case AccessType::LongInteger:
    case AccessType::Single:
        return 4;
    case AccessType::Currency:
    case AccessType::Double:
    case AccessType::DateTime:
        return 8;
    case AccessType::ReplicationId:
        return 16;
    case AccessType::Decimal:
        return 17;
    default:
        return 0;
    }
}

// Code page bytes to Unicode; a byte sequence the code page does not define becomes U+FFFD,
// so nothing after it is lost.
QString decodeCodePage(iconv_t converter, const char *data, size_t size)
{
    if (size == 0)
        return QString();
    QByteArray out(qsizetype(size) * 4 + 4, Qt::Uninitialized);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char *in = const_cast<char *>(data);
    size_t inLeft = size;
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG || outLeft < 3)
            break; // cannot happen with four bytes out per byte in
        // EILSEQ or EINVAL: one undecodable byte.
        static const char replacement[] = "\xEF\xBF\xBD";
        std::memcpy(outPtr, replacement, 3);
        outPtr += 3;
        outLeft -= 3;
        ++in;
        --inLeft;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    return QString::fromUtf8(out.constData(), outPtr - out.constData());
}

} // namespace

QString accessTypeName(AccessType type)
{
    switch (type) {
    case AccessType::Boolean:
        return QStringLiteral("Yes/No");
    case AccessType::Byte:
        return QStringLiteral("Byte");
    case AccessType::Integer:
        return QStringLiteral("Integer");
    case AccessType::LongInteger:
        return QStringLiteral("Long Integer");
    case AccessType::Currency:
        return QStringLiteral("Currency");
    case AccessType::Single:
        return QStringLiteral("Single");
    case AccessType::Double:
        return QStringLiteral("Double");
    case AccessType::DateTime:
        return QStringLiteral("Date/Time");
    case AccessType::Binary:
        return QStringLiteral("Binary");
    case AccessType::Text:
        return QStringLiteral("Text");
    case AccessType::Ole:
        return QStringLiteral("OLE Object");
    case AccessType::Memo:
        return QStringLiteral("Memo");
    case AccessType::ReplicationId:
        return QStringLiteral("Replication ID");
    case AccessType::Decimal:
        return QStringLiteral("Decimal");
    case AccessType::Unsupported:
        break;
    }
    return QStringLiteral("unsupported type");
}

namespace accessdecode {

QString jet4Text(const unsigned char *data, qsizetype size)
{
    QString text;
    if (size >= 2 && data[0] == 0xff && data[1] == 0xfe) {
        // Compressed: segments separated by 00 bytes, starting in one-byte mode.
        text.reserve(size);
        bool compressed = true;
        qsizetype i = 2;
        while (i < size) {
            if (data[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                text.append(QChar(char16_t(data[i])));
                ++i;
            } else if (i + 1 < size) {
                text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
                i += 2;
            } else {
                break; // a stray odd byte ends the text
            }
        }
        return text;
    }
    text.resize(size / 2);
    for (qsizetype i = 0; i < size / 2; ++i)
        text[i] = QChar(char16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    return text;
}

double decimal(const unsigned char *data, int scale)
{
    long double magnitude = 0;
    for (int word = 0; word < 4; ++word)
        magnitude = magnitude * 4294967296.0L + le32(data + 1 + 4 * word);
    const long double value = magnitude / std::pow(10.0L, scale);
    return double(data[0] != 0 ? -value : value);
}

QString guid(const unsigned char *d)
{
    return QString::asprintf("{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", d[3], d[2], d[1],
                             d[0], d[5], d[4], d[7], d[6], d[8], d[9], d[10], d[11], d[12], d[13], d[14], d[15]);
}

double single(float value)
{
    if (!std::isfinite(value))
        return double(value);
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double result = double(value);
    if (written.ec == std::errc())
        std::from_chars(buffer, written.ptr, result);
    return result;
}

} // namespace accessdecode

struct AccessReader::Impl {
    MdbHandle *mdb = nullptr;
    iconv_t values = kNoConverter; // Jet 3 texts: code page → UTF-8
    QByteArray charset;
    QString fileName;
    QStringList tables;
    // The tables of the file, read from its system table MSysObjects. Read here rather than by
    // the library's catalog reader, which also decodes every object's property blob and, on a
    // damaged file, can loop there without end.
    std::vector<std::unique_ptr<MdbCatalogEntry>> catalog;

    ~Impl() { close(); }

    void close()
    {
        if (values != kNoConverter) {
            iconv_close(values);
            values = kNoConverter;
        }
        if (mdb) {
            mdb_close(mdb); // also closes the name converters set in open()
            mdb = nullptr;
        }
        tables.clear();
        catalog.clear();
    }

    bool jet3() const { return mdb && mdb->f->jet_version == MDB_VER_JET3; }
    int pageSize() const { return int(mdb->fmt->pg_size); }

    MdbCatalogEntry *entry(const QString &name) const
    {
        MdbCatalogEntry *caseless = nullptr;
        for (const auto &e : catalog) {
            const QString entryName = QString::fromUtf8(e->object_name);
            if (entryName == name)
                return e.get();
            // Access compares names without regard to case.
            if (!caseless && entryName.compare(name, Qt::CaseInsensitive) == 0)
                caseless = e.get();
        }
        return caseless;
    }

    // The table's definition with its columns; nullptr (and error) when it cannot be read.
    MdbTableDef *readDefinition(MdbCatalogEntry *e, const QString &table, QString &error) const
    {
        MdbTableDef *def = e ? mdb_read_table(e) : nullptr;
        if (def && def->num_cols > 0 &&
            (!mdb_read_columns(def) || !def->columns || def->columns->len != def->num_cols)) {
            mdb_free_tabledef(def);
            def = nullptr;
        }
        if (!def)
            error = QStringLiteral("%1 is damaged: the definition of table %2 cannot be read").arg(fileName, table);
        return def;
    }

    MdbTableDef *readDefinition(const QString &table, QString &error) const
    {
        MdbCatalogEntry *e = entry(table);
        if (!e) {
            error = QStringLiteral("%1 has no table %2").arg(fileName, table);
            return nullptr;
        }
        return readDefinition(e, table, error);
    }

    // Reads the rows of the table; only the columns marked in wanted (all when empty) are decoded,
    // the others read as Null.
    bool scan(MdbTableDef *def, const QString &table, const RowSink &sink, QString &error,
              const std::vector<bool> &wanted = {}) const;
    bool readCatalog(QString &error);

    QString text(const unsigned char *data, size_t size) const
    {
        if (jet3())
            return decodeCodePage(values, reinterpret_cast<const char *>(data), size);
        return accessdecode::jet4Text(data, qsizetype(size));
    }

    // Collects the data of a Memo or OLE value whose header starts at start of the current page.
    bool longValue(int start, int size, QByteArray &out, QString &where) const
    {
        out.clear();
        if (size == 0)
            return true;
        if (size < kLongValueHeader) {
            where = QStringLiteral("a long value's header is cut short");
            return false;
        }
        const unsigned char *head = mdb->pg_buf + start;
        const quint32 length = le32(head) & 0x00ffffff;
        const unsigned type = le32(head) >> 24;
        qint32 pageRow = qint32(le32(head + 4));
        if (type & 0x80) {
            const int inlineSize = size - kLongValueHeader;
            out = QByteArray(reinterpret_cast<const char *>(head + kLongValueHeader),
                             qMin<qsizetype>(inlineSize, qsizetype(length)));
            return true;
        }
        void *buffer = nullptr;
        int offset = 0;
        size_t rowSize = 0;
        if (type & 0x40) {
            if (mdb_find_pg_row(mdb, pageRow, &buffer, &offset, &rowSize) != 0) {
                where = QStringLiteral("a long value points to a missing page");
                return false;
            }
            offset &= kOffsetMask;
            out = QByteArray(static_cast<const char *>(buffer) + offset, qMin<qsizetype>(rowSize, length));
            return true;
        }
        if (type != 0) {
            where = QStringLiteral("a long value has an unknown kind");
            return false;
        }
        // A chain: every link carries at least one byte, so there are never more links than bytes.
        out.reserve(length);
        quint32 links = 0;
        while (quint32(out.size()) < length) {
            if (pageRow == 0 || ++links > length) {
                where = QStringLiteral("a long value's chain of pages breaks off");
                return false;
            }
            if (mdb_find_pg_row(mdb, pageRow, &buffer, &offset, &rowSize) != 0 || rowSize < 4) {
                where = QStringLiteral("a long value points to a missing page");
                return false;
            }
            offset &= kOffsetMask;
            const auto *link = static_cast<const unsigned char *>(buffer) + offset;
            pageRow = qint32(le32(link));
            out.append(reinterpret_cast<const char *>(link + 4), qsizetype(rowSize) - 4);
        }
        out.truncate(length);
        return true;
    }

    // Decodes one field of the row cracked on the current page.
    bool value(const MdbColumn *column, const MdbField &field, AccessValue &out, QString &where) const
    {
        const AccessType type = typeOf(column->col_type);
        if (type == AccessType::Boolean) {
            // A Yes/No value lives in the row's null mask: a set bit is Yes.
            out = AccessValue::fromInteger(field.is_null ? 0 : 1);
            return true;
        }
        if (field.is_null || type == AccessType::Unsupported) {
            out = AccessValue::null();
            return true;
        }
        if (field.start < 0 || field.siz < 0 || field.start + field.siz > pageSize()) {
            where = QStringLiteral("column %1 lies outside its page").arg(QString::fromUtf8(column->name));
            return false;
        }
        const int width = fixedWidth(type);
        if (width > 0 && field.siz < width) {
            where = QStringLiteral("column %1 is cut short").arg(QString::fromUtf8(column->name));
            return false;
        }
        const unsigned char *p = mdb->pg_buf + field.start;
        switch (type) {
        case AccessType::Byte:
            out = AccessValue::fromInteger(p[0]);
            return true;
        case AccessType::Integer:
            out = AccessValue::fromInteger(qFromLittleEndian<qint16>(p));
            return true;
        case AccessType::LongInteger:
            out = AccessValue::fromInteger(qFromLittleEndian<qint32>(p));
            return true;
        case AccessType::Currency:
            out = AccessValue::fromReal(double(qFromLittleEndian<qint64>(p)) / 10000.0);
            return true;
        case AccessType::Single:
            out = AccessValue::fromReal(accessdecode::single(qFromLittleEndian<float>(p)));
            return true;
        case AccessType::Double:
            out = AccessValue::fromReal(qFromLittleEndian<double>(p));
            return true;
        case AccessType::DateTime:
            out = AccessValue::fromDays(qFromLittleEndian<double>(p));
            return true;
        case AccessType::Decimal:
            out = AccessValue::fromReal(accessdecode::decimal(p, column->col_scale));
            return true;
        case AccessType::ReplicationId:
            out = AccessValue::fromText(accessdecode::guid(p));
            return true;
        case AccessType::Text:
            out = AccessValue::fromText(text(p, size_t(field.siz)));
            return true;
        case AccessType::Binary:
            out = AccessValue::fromBytes(QByteArray(reinterpret_cast<const char *>(p), field.siz));
            return true;
        case AccessType::Memo:
        case AccessType::Ole: {
            QByteArray data;
            if (!longValue(field.start, field.siz, data, where)) {
                where = QStringLiteral("column %1: %2").arg(QString::fromUtf8(column->name), where);
                return false;
            }
            if (type == AccessType::Memo)
                out = AccessValue::fromText(
                    text(reinterpret_cast<const unsigned char *>(data.constData()), size_t(data.size())));
            else
                out = AccessValue::fromBytes(data);
            return true;
        }
        case AccessType::Boolean:
        case AccessType::Unsupported:
            break;
        }
        out = AccessValue::null();
        return true;
    }
};

AccessReader::AccessReader() : d(std::make_unique<Impl>()) {}

AccessReader::~AccessReader() = default;

bool AccessReader::open(const QString &path, QString &error, const QByteArray &jet3Charset)
{
    close();
    d->fileName = path;
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("%1 does not exist").arg(path);
        return false;
    }
    if (!info.isFile() || !info.isReadable()) {
        error = QStringLiteral("%1 cannot be read").arg(path);
        return false;
    }
    if (!isAccessFile(path)) {
        error = QStringLiteral("%1 is not an Access database (.mdb) file").arg(path);
        return false;
    }
    d->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!d->mdb) {
        error = QStringLiteral("%1 cannot be opened as an Access database: its header is damaged or of an unknown "
                               "version")
                    .arg(path);
        return false;
    }
    // A file cut short mid-page would otherwise read its last page padded with nothing.
    if (info.size() % d->pageSize() != 0) {
        error = QStringLiteral("%1 is damaged: it ends in the middle of a page").arg(path);
        close();
        return false;
    }
    // Names are decoded by the library through the handle's converters: point them at the
    // code page we read texts in (Jet 3), or at UTF-16 so that characters beyond the BMP survive
    // (Jet 4). Both must be in place before the catalog is read.
    const QByteArray stored = d->jet3() ? jet3Charset : QByteArrayLiteral("UTF-16LE");
    const iconv_t namesIn = iconv_open("UTF-8", stored.constData());
    const iconv_t namesOut = iconv_open(stored.constData(), "UTF-8");
    if (namesIn == kNoConverter || namesOut == kNoConverter) {
        if (namesIn != kNoConverter)
            iconv_close(namesIn);
        if (namesOut != kNoConverter)
            iconv_close(namesOut);
        error = QStringLiteral("the code page %1 is not known").arg(QString::fromLatin1(stored));
        close();
        return false;
    }
    mdb_iconv_close(d->mdb);
    d->mdb->iconv_in = namesIn;
    d->mdb->iconv_out = namesOut;
    d->charset = d->jet3() ? jet3Charset : QByteArray();
    if (d->jet3()) {
        d->values = iconv_open("UTF-8", jet3Charset.constData());
        if (d->values == kNoConverter) {
            error = QStringLiteral("the code page %1 is not known").arg(QString::fromLatin1(jet3Charset));
            close();
            return false;
        }
    }
    if (!d->readCatalog(error)) {
        close();
        return false;
    }
    return true;
}

void AccessReader::close()
{
    d->close();
}

bool AccessReader::isOpen() const
{
    return d->mdb != nullptr;
}

QString AccessReader::formatName() const
{
    if (!d->mdb)
        return QString();
    switch (d->mdb->f->jet_version) {
    case MDB_VER_JET3:
        return QStringLiteral("Jet 3");
    case MDB_VER_JET4:
        return QStringLiteral("Jet 4");
    default:
        return QStringLiteral("ACE");
    }
}

bool AccessReader::isJet3() const
{
    return d->jet3();
}

QByteArray AccessReader::jet3Charset() const
{
    return d->charset;
}

QStringList AccessReader::tableNames() const
{
    return d->tables;
}

bool AccessReader::columns(const QString &table, QList<AccessColumn> &out, QString &error)
{
    out.clear();
    MdbTableDef *def = d->readDefinition(table, error);
    if (!def)
        return false;
    for (guint i = 0; i < def->num_cols; ++i) {
        const auto *column = static_cast<const MdbColumn *>(g_ptr_array_index(def->columns, i));
        out.append({QString::fromUtf8(column->name), typeOf(column->col_type)});
    }
    mdb_free_tabledef(def);
    return true;
}

qint64 AccessReader::rowCount(const QString &table)
{
    MdbCatalogEntry *e = d->entry(table);
    MdbTableDef *def = e ? mdb_read_table(e) : nullptr;
    if (!def)
        return -1;
    const qint64 rows = def->num_rows;
    mdb_free_tabledef(def);
    return rows;
}

bool AccessReader::Impl::scan(MdbTableDef *def, const QString &table, const RowSink &sink, QString &error,
                              const std::vector<bool> &wanted) const
{
    const QString damaged = QStringLiteral("%1 is damaged: table %2, page %3, row %4: %5");
    std::vector<MdbField> fields(def->num_cols);
    AccessRow row(def->num_cols);
    qint64 found = 0;
    bool ok = true;
    bool stopped = false;

    mdb_rewind_table(def);
    while (ok && !stopped) {
        const int page = mdb_read_next_dpg(def);
        if (page <= 0)
            break;
        const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int r = 0; r < rows && ok && !stopped; ++r) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb, r, &start, &size) != 0) {
                error = damaged.arg(fileName, table).arg(page).arg(r).arg(QStringLiteral("bad row offset"));
                ok = false;
                break;
            }
            if ((start & kDeletedRow) || size == 0)
                continue;
            // Follow a moved row to its data.
            int hops = 0;
            bool moved = false;
            while (start & kOverflowRow) {
                const unsigned char *pointer = mdb->pg_buf + (start & kOffsetMask);
                if (++hops > kMaxOverflowHops || size < 4) {
                    ok = false;
                    break;
                }
                const int targetRow = pointer[0];
                const unsigned long targetPage = pointer[1] | (pointer[2] << 8) | (pointer[3] << 16);
                moved = true;
                if (mdb_read_pg(mdb, targetPage) != mdb->fmt->pg_size || mdb->pg_buf[0] != MDB_PAGE_DATA ||
                    mdb_get_int32(mdb->pg_buf, 4) != long(def->entry->table_pg) ||
                    mdb_find_row(mdb, targetRow, &start, &size) != 0 || size == 0) {
                    ok = false;
                    break;
                }
            }
            if (!ok) {
                error = damaged.arg(fileName, table).arg(page).arg(r).arg(QStringLiteral("a moved row is lost"));
                break;
            }
            QString where;
            if (mdb_crack_row(def, start & kOffsetMask, size, fields.data()) < 0) {
                where = QStringLiteral("the row cannot be taken apart");
                ok = false;
            }
            for (guint c = 0; ok && c < def->num_cols; ++c) {
                if (!wanted.empty() && !wanted[c]) {
                    row[c] = AccessValue::null();
                    continue;
                }
                const auto *column = static_cast<const MdbColumn *>(g_ptr_array_index(def->columns, c));
                ok = value(column, fields[c], row[c], where);
            }
            if (!ok) {
                error = damaged.arg(fileName, table).arg(page).arg(r).arg(where);
                break;
            }
            if (moved && mdb_read_pg(mdb, page) != mdb->fmt->pg_size) {
                error = damaged.arg(fileName, table).arg(page).arg(r).arg(QStringLiteral("the page cannot be read"));
                ok = false;
                break;
            }
            ++found;
            if (!sink(row))
                stopped = true;
        }
    }
    const qint64 recorded = def->num_rows;
    if (!ok || stopped)
        return false;
    if (found != recorded) {
        error = QStringLiteral("%1 is damaged: table %2 records %3 rows, but %4 were found "
                               "(Access's Compact and Repair may mend the file)")
                    .arg(fileName, table)
                    .arg(recorded)
                    .arg(found);
        return false;
    }
    return true;
}

bool AccessReader::Impl::readCatalog(QString &error)
{
    // MSysObjects always has its definition on page 2.
    MdbCatalogEntry objects{};
    objects.mdb = mdb;
    std::strcpy(objects.object_name, "MSysObjects");
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    MdbTableDef *def = readDefinition(&objects, QStringLiteral("MSysObjects"), error);
    if (!def)
        return false;
    int id = -1, name = -1, type = -1, flags = -1;
    for (guint c = 0; c < def->num_cols; ++c) {
        const QByteArray column = static_cast<const MdbColumn *>(g_ptr_array_index(def->columns, c))->name;
        if (column == "Id")
            id = int(c);
        else if (column == "Name")
            name = int(c);
        else if (column == "Type")
            type = int(c);
        else if (column == "Flags")
            flags = int(c);
    }
    // The property blobs (LvProp) and the rest are not needed: a damaged blob does not matter here.
    std::vector<bool> wanted(def->num_cols, false);
    if (id < 0 || name < 0 || type < 0 || flags < 0) {
        mdb_free_tabledef(def);
        error = QStringLiteral("%1 is damaged: its list of tables cannot be read").arg(fileName);
        return false;
    }
    wanted[id] = wanted[name] = wanted[type] = wanted[flags] = true;
    const bool ok = scan(
        def, QStringLiteral("MSysObjects"),
        [&](const AccessRow &row) {
            // Type 1 is a local table; the low 24 bits of the id are the page of its definition.
            if ((row[type].integer & 0x7f) != MDB_TABLE || row[name].kind != AccessValue::Kind::Text)
                return true;
            auto e = std::make_unique<MdbCatalogEntry>();
            e->mdb = mdb;
            const QByteArray utf8 = row[name].text.toUtf8().left(MDB_MAX_OBJ_NAME);
            std::memcpy(e->object_name, utf8.constData(), size_t(utf8.size()));
            e->object_type = MDB_TABLE;
            e->table_pg = static_cast<unsigned long>(row[id].integer & 0x00ffffff);
            e->flags = int(row[flags].integer);
            // Access's own tables carry the system bit (0x80000000) or the hidden bit (2).
            if (!(quint32(e->flags) & 0x80000002u))
                tables.append(row[name].text);
            catalog.push_back(std::move(e));
            return true;
        },
        error, wanted);
    mdb_free_tabledef(def);
    return ok;
}

bool AccessReader::readRows(const QString &table, const RowSink &sink, QString &error)
{
    MdbTableDef *def = d->readDefinition(table, error);
    if (!def)
        return false;
    const bool ok = d->scan(def, table, sink, error);
    mdb_free_tabledef(def);
    return ok;
}

bool AccessReader::readTable(const QString &table, QList<AccessColumn> &columns, std::vector<AccessRow> &rows,
                             QString &error)
{
    rows.clear();
    if (!this->columns(table, columns, error))
        return false;
    return readRows(
        table,
        [&rows](const AccessRow &row) {
            rows.push_back(row);
            return true;
        },
        error);
}

} // namespace fenlark::importer
