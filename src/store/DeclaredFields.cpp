#include "DeclaredFields.h"

#include "Error.h"

#include <QRegularExpression>
#include <algorithm>

namespace {
[[noreturn]] void Refuse(const QString& path, const QString& reason) {
    throw EDatabaseError(QStringLiteral("Cannot open table \"%1\": %2").arg(path, reason), ekDamaged, path,
                         reason);
}
} // namespace

TFieldDef TDeclaredFields::FromDeclaredType(const QString& name, const QString& declared) {
    const QString type = declared.toUpper();
    TFieldDef def{name, ftString, 255};
    static const QRegularExpression sizePattern(QStringLiteral("\\((\\d+)"));
    if (type.contains(QLatin1String("MEMO")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("BLOB"))) {
        def.DataType = ftMemo;
        def.Size = 0;
    } else if (type.contains(QLatin1String("DATE"))) {
        def.DataType = ftDate;
        def.Size = 0;
    } else if (type.contains(QLatin1String("DECIMAL")) || type.contains(QLatin1String("NUMERIC")) ||
               type.contains(QLatin1String("MONEY"))) {
        def.DataType = ftBCD;
        def.Size = 0;
    } else if (type.contains(QLatin1String("INT"))) {
        def.DataType = ftInteger;
        def.Size = 0;
    } else {
        const auto match = sizePattern.match(type);
        if (match.hasMatch()) {
            def.Size = match.captured(1).toInt();
        }
    }
    return def;
}

std::vector<TFieldDef> TDeclaredFields::Read(TSqliteDatabase& db, const QString& sqlTable,
                                             const std::vector<TFieldDef>& expected, const QString& path) {
    std::vector<TFieldDef> defs;
    {
        TSqliteStatement info(db, QStringLiteral("PRAGMA table_info(%1)").arg(QuotedName(sqlTable)));
        while (info.Step()) {
            defs.push_back(FromDeclaredType(info.Text(1), info.Text(2)));
        }
    }
    if (defs.empty()) {
        Refuse(path, QStringLiteral("it holds no table named %1").arg(sqlTable));
    }
    for (const TFieldDef& wanted : expected) {
        auto found = std::find_if(defs.begin(), defs.end(), [&](const TFieldDef& def) {
            return def.Name.compare(wanted.Name, Qt::CaseInsensitive) == 0;
        });
        if (found == defs.end()) {
            Refuse(path, QStringLiteral("it has no field %1; the file is of another kind or version")
                             .arg(wanted.Name));
        }
        *found = wanted;
    }
    return defs;
}
