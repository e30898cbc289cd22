#include "data/register_file.h"

#include "data/db_connection.h"
#include "data/keyword_catalogue.h"
#include "data/member_card_index.h"
#include "data/safe_file.h"
#include "data/schema.h"
#include "data/statement.h"

#include <QFile>
#include <QFileInfo>

namespace fenlark {

namespace {

QString storeError(const DBConnection &connection, const QString &what)
{
    QString detail = connection.errorText().section(QStringLiteral("\r\n"), 0, 0);
    detail.remove(QStringLiteral("Description: "));
    return detail.isEmpty() ? what : what + QStringLiteral(": ") + detail;
}

// Claims path with a new empty file; fails when anything is there already, so two makers
// racing for one name cannot both win and an existing register is never touched.
bool claimNewFile(const QString &path, QString &error)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        error = QStringLiteral("%1 already exists; it is left as it is").arg(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        error = QStringLiteral("cannot create %1: %2").arg(path, file.errorString());
        return false;
    }
    file.close();
    return true;
}

bool fillNewFile(const QString &path, const RegisterLoad *load, QString &error)
{
    DBConnection connection;
    // An empty file is an empty SQLite database, so the ordinary open serves.
    if (!connection.connectAccess(path, QString())) {
        error = QStringLiteral("cannot open the new file %1: %2").arg(path, connection.openFailureReason());
        return false;
    }
    if (load) {
        // Nothing of value is in a file that is being made: no journal, no waiting for the disk.
        execScript(connection, QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
                                              "PRAGMA cache_size=-131072; PRAGMA temp_store=MEMORY;"));
    }
    Transaction transaction(connection);
    if (!transaction.isActive()) {
        error = storeError(connection, QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    if (!execScript(connection, schema::createTablesSql())) {
        error = storeError(connection, QStringLiteral("cannot make the tables"));
        return false;
    }
    if (load && !(*load)(connection, error)) {
        if (error.isEmpty())
            error = storeError(connection, QStringLiteral("cannot fill %1").arg(path));
        return false;
    }
    // After the load, so each index is built once from sorted rows instead of row by row; the
    // member-card index likewise in one pass over the loaded households.
    if (!rebuildMemberCardIndex(connection)) {
        error = storeError(connection, QStringLiteral("cannot make the member-card index"));
        return false;
    }
    if (!execScript(connection, schema::createIndexesSql())) {
        error = storeError(connection, QStringLiteral("cannot make the indexes"));
        return false;
    }
    // The keyword catalogue last, from the 标签 index just built; its triggers keep it from here on.
    if (!ensureKeywordCatalogue(connection)) {
        error = storeError(connection, QStringLiteral("cannot make the keyword catalogue"));
        return false;
    }
    if (!transaction.commit()) {
        error = storeError(connection, QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    return true;
}

bool create(const QString &path, const RegisterLoad *load, QString &error)
{
    error.clear();
    if (path.isEmpty()) {
        error = QStringLiteral("no file name given");
        return false;
    }
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink()) {
        error = QStringLiteral("%1 already exists; it is left as it is").arg(path);
        return false;
    }
    // The register is made under a temporary name and only renamed to its own once complete and
    // on the disk: a maker killed half-way leaves no half-made file under the register's name.
    const QString temporary = unusedNameBeside(path);
    if (temporary.isEmpty()) {
        error = QStringLiteral("cannot find a free temporary name beside %1").arg(path);
        return false;
    }
    if (!claimNewFile(temporary, error))
        return false;
    if (!fillNewFile(temporary, load, error) || !moveIntoPlace(temporary, path, false, error)) {
        QFile::remove(temporary); // a half-made register must not pass for a register
        return false;
    }
    return true;
}

} // namespace

bool createRegisterFile(const QString &path, QString &error)
{
    return create(path, nullptr, error);
}

bool createRegisterFile(const QString &path, const RegisterLoad &load, QString &error)
{
    return create(path, &load, error);
}

} // namespace fenlark
