#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// Reading the tables of an Access (.mdb, Jet 3 and Jet 4) file into rows of typed values, for
// bringing an office's existing register over. Built on libmdb for the file structure (catalog,
// table definitions, data pages, long-value pages); the values themselves are decoded here, so
// that texts come out in Unicode whatever the file's code page and dates keep their day count.
namespace fenlark::importer {

// The column types of an Access table, as the table definition records them.
enum class AccessType {
    Boolean,       // Yes/No
    Byte,          // Number (Byte), unsigned
    Integer,       // Number (Integer), 16-bit
    LongInteger,   // Number (Long Integer), 32-bit; AutoNumber too
    Currency,      // 64-bit count of 1/10000
    Single,        // Number (Single)
    Double,        // Number (Double)
    DateTime,      // Date/Time: a double of days since 1899-12-30
    Binary,        // short binary
    Text,          // Text (up to 255 characters)
    Ole,           // OLE Object (long binary)
    Memo,          // Memo (long text)
    ReplicationId, // Number (Replication ID), a GUID
    Decimal,       // Number (Decimal)
    Unsupported,   // anything else (newer formats' attachments and the like)
};

// The name Access shows for the type ("Long Integer", "Date/Time", …), for messages.
QString accessTypeName(AccessType type);

struct AccessColumn {
    QString name;
    AccessType type = AccessType::Unsupported;
};

// One stored value. Yes/No reads as Integer 0 or 1 (never Null: Access stores no NULL there);
// Currency, Single, Double and Decimal read as Real; a Date/Time as DateTime with its day count
// in `real` (a negative count's fraction still runs forward within the day).
struct AccessValue {
    enum class Kind { Null, Integer, Real, DateTime, Text, Bytes };
    Kind kind = Kind::Null;
    qint64 integer = 0;
    double real = 0.0;
    QString text;
    QByteArray bytes;

    static AccessValue null() { return {}; }
    static AccessValue fromInteger(qint64 v)
    {
        AccessValue a;
        a.kind = Kind::Integer;
        a.integer = v;
        return a;
    }
    static AccessValue fromReal(double v)
    {
        AccessValue a;
        a.kind = Kind::Real;
        a.real = v;
        return a;
    }
    static AccessValue fromDays(double days)
    {
        AccessValue a;
        a.kind = Kind::DateTime;
        a.real = days;
        return a;
    }
    static AccessValue fromText(const QString &v)
    {
        AccessValue a;
        a.kind = Kind::Text;
        a.text = v;
        return a;
    }
    static AccessValue fromBytes(const QByteArray &v)
    {
        AccessValue a;
        a.kind = Kind::Bytes;
        a.bytes = v;
        return a;
    }
    bool isNull() const { return kind == Kind::Null; }
};

// The values of one row, in the order of the table's columns.
using AccessRow = std::vector<AccessValue>;

// Receives the rows of a table one by one; returning false stops the reading (the reader then
// reports failure and leaves the reason to whoever stopped it).
using RowSink = std::function<bool(const AccessRow &)>;

// Anything that hands out named tables of typed rows: the Access reader, or rows made in memory.
class TableSource {
public:
    virtual ~TableSource() = default;
    // The user tables, in the order of the file's catalog (system tables left out).
    virtual QStringList tableNames() const = 0;
    virtual bool columns(const QString &table, QList<AccessColumn> &out, QString &error) = 0;
    // The number of rows the table says it holds (for progress); -1 when unknown.
    virtual qint64 rowCount(const QString &table) = 0;
    // Every row, in stored order.
    virtual bool readRows(const QString &table, const RowSink &sink, QString &error) = 0;
};

class AccessReader : public TableSource {
public:
    // Jet 3 files store texts in a code page that the file does not record reliably; the
    // office's files are Chinese, so GBK (Windows code page 936) unless told otherwise.
    static constexpr const char *kDefaultJet3Charset = "CP936";

    AccessReader();
    ~AccessReader() override;
    AccessReader(const AccessReader &) = delete;
    AccessReader &operator=(const AccessReader &) = delete;

    // Opens the file read-only and reads its catalog. jet3Charset is an iconv name.
    bool open(const QString &path, QString &error, const QByteArray &jet3Charset = kDefaultJet3Charset);
    void close();
    bool isOpen() const;

    // "Jet 3", "Jet 4" or "ACE"; empty when closed.
    QString formatName() const;
    bool isJet3() const;
    QByteArray jet3Charset() const;

    QStringList tableNames() const override;
    bool columns(const QString &table, QList<AccessColumn> &out, QString &error) override;
    qint64 rowCount(const QString &table) override;
    // Reads the data pages of the table: deleted rows are skipped, rows that Access moved to
    // another page when they grew are followed. Fails on a damaged page and when the number
    // of rows found differs from the number the table records.
    bool readRows(const QString &table, const RowSink &sink, QString &error) override;

    // The whole table at once (small tables and tests).
    bool readTable(const QString &table, QList<AccessColumn> &columns, std::vector<AccessRow> &rows, QString &error);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Value decoders, public so that they can be checked on bytes made by hand.
namespace accessdecode {
// A Jet 4 text: UTF-16LE, or "compressed" (FF FE, then runs of one-byte Latin-1 characters and
// two-byte characters, switched by 00 bytes).
QString jet4Text(const unsigned char *data, qsizetype size);
// A Decimal's 17 bytes (sign byte, then a 128-bit magnitude in 32-bit little-endian words,
// most significant word first) scaled by 10^-scale.
double decimal(const unsigned char *data, int scale);
// A Replication ID's 16 bytes as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
QString guid(const unsigned char *data);
// A Single as the double of its shortest decimal form (444.555f → 444.555, not 444.55499…).
double single(float value);
} // namespace accessdecode

} // namespace fenlark::importer
