// The filter parser on arbitrary text, with a resolver like the item table's: a filter either raises
// EDatabaseError or becomes SQL made only of column names, bound parameters, AND/OR/NOT, IS [NOT]
// NULL and the six comparisons, which SQLite accepts with one parameter per "?".
#include "store/Error.h"
#include "store/FilterParser.h"
#include "store/FormatSettings.h"
#include "store/Money.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>

#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>

namespace {
enum TKind { kText, kInteger, kDate, kMoney };

std::pair<QString, QVariant> Resolve(const QString& field, const QString& literal) {
    static const QList<std::pair<QString, TKind>> fields = {{QStringLiteral("Kategori"), kText},
                                                            {QStringLiteral("Beskrivelse"), kText},
                                                            {QStringLiteral("Foto"), kInteger},
                                                            {QStringLiteral("Kobsdato"), kDate},
                                                            {QStringLiteral("Vaerdi"), kMoney}};
    for (const auto& [name, kind] : fields) {
        if (name.compare(field, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const QString column = QLatin1Char('"') + name + QLatin1Char('"');
        const QString trimmed = literal.trimmed();
        if (kind == kText || trimmed.isEmpty()) {
            return {column, literal.isEmpty() ? QVariant() : QVariant(literal)};
        }
        bool ok = false;
        if (kind == kInteger) {
            const qint64 value = trimmed.toLongLong(&ok);
            if (ok) {
                return {column, value};
            }
        } else if (kind == kDate) {
            QDate date = QDate::fromString(trimmed, QStringLiteral("dd-MM-yyyy"));
            if (!date.isValid()) {
                date = QDate::fromString(trimmed, Qt::ISODate);
            }
            if (date.isValid()) {
                return {column, date};
            }
        } else if (const auto money = TMoney::Parse(trimmed, TFormatSettings::Danish())) {
            return {column, money->Cents()};
        }
        throw EDatabaseError(
            QStringLiteral("'%1' is not a valid value for the field '%2'").arg(literal, name));
    }
    throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(field));
}

sqlite3* Database() {
    static sqlite3* db = [] {
        sqlite3* opened = nullptr;
        if (sqlite3_open(":memory:", &opened) != SQLITE_OK ||
            sqlite3_exec(opened,
                         "CREATE TABLE Items (Kategori TEXT, Beskrivelse TEXT, Foto INTEGER, "
                         "Kobsdato TEXT, Vaerdi INTEGER)",
                         nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::abort();
        }
        return opened;
    }();
    return db;
}

void CheckSql(const TCompiledFilter& compiled) {
    static const QSet<QString> allowed = {QStringLiteral("\"Kategori\""),
                                          QStringLiteral("\"Beskrivelse\""),
                                          QStringLiteral("\"Foto\""),
                                          QStringLiteral("\"Kobsdato\""),
                                          QStringLiteral("\"Vaerdi\""),
                                          QStringLiteral("?"),
                                          QStringLiteral("AND"),
                                          QStringLiteral("OR"),
                                          QStringLiteral("NOT"),
                                          QStringLiteral("IS"),
                                          QStringLiteral("NULL"),
                                          QStringLiteral("="),
                                          QStringLiteral("<>"),
                                          QStringLiteral("<"),
                                          QStringLiteral(">"),
                                          QStringLiteral("<="),
                                          QStringLiteral(">=")};
    static const QRegularExpression separators(QStringLiteral("[\\s()]+"));
    for (const QString& token : compiled.Sql.split(separators, Qt::SkipEmptyParts)) {
        if (!allowed.contains(token)) {
            std::abort();
        }
    }
    const QByteArray sql = "SELECT rowid FROM Items WHERE " + compiled.Sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(Database(), sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK) {
        std::abort();
    }
    const int parameters = sqlite3_bind_parameter_count(statement);
    sqlite3_finalize(statement);
    if (size_t(parameters) != compiled.Parameters.size() ||
        compiled.Sql.count(QLatin1Char('?')) != parameters) {
        std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString filter = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const TCompiledFilter compiled = TFilterParser::Compile(filter, Resolve);
        if (!compiled.Sql.isEmpty()) {
            CheckSql(compiled);
        } else if (!filter.trimmed().isEmpty() || !compiled.Parameters.empty()) {
            std::abort();
        }
    } catch (const EDatabaseError&) {
    }
    return 0;
}
