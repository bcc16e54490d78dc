#include "FilterParser.h"

#include "Error.h"

namespace {
enum TTokenKind { tkEnd, tkIdent, tkString, tkNumber, tkOperator, tkOpen, tkClose };

struct TToken {
    TTokenKind kind = tkEnd;
    QString text;
    int position = 0;
};

class TParser {
public:
    TParser(const QString& filter, const TFilterParser::TResolver& resolver)
        : m_text(filter), m_resolver(resolver) {
        Advance();
    }

    TCompiledFilter Run() {
        TCompiledFilter result;
        if (m_token.kind == tkEnd) {
            return result;
        }
        result.Sql = ParseOr();
        if (m_token.kind != tkEnd) {
            Fail(QStringLiteral("unexpected '%1'").arg(m_token.text));
        }
        result.Parameters = std::move(m_parameters);
        return result;
    }

private:
    [[noreturn]] void Fail(const QString& reason) const {
        throw EDatabaseError(QStringLiteral("Invalid filter expression \"%1\": %2 at position %3")
                                 .arg(m_text, reason)
                                 .arg(m_token.position + 1));
    }

    bool IsKeyword(const char* word) const {
        return m_token.kind == tkIdent && m_token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    void Advance() {
        const int size = int(m_text.size());
        while (m_pos < size && m_text[m_pos].isSpace()) {
            ++m_pos;
        }
        m_token = TToken{};
        m_token.position = m_pos;
        if (m_pos >= size) {
            return;
        }
        const QChar c = m_text[m_pos];
        if (c == QLatin1Char('\'')) {
            QString value;
            ++m_pos;
            for (;;) {
                if (m_pos >= size) {
                    Fail(QStringLiteral("unterminated text"));
                }
                if (m_text[m_pos] == QLatin1Char('\'')) {
                    if (m_pos + 1 < size && m_text[m_pos + 1] == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                value += m_text[m_pos++];
            }
            m_token.kind = tkString;
            m_token.text = value;
        } else if (c == QLatin1Char('[')) {
            const int end = int(m_text.indexOf(QLatin1Char(']'), m_pos));
            if (end < 0) {
                Fail(QStringLiteral("missing ']'"));
            }
            m_token.kind = tkIdent;
            m_token.text = m_text.mid(m_pos + 1, end - m_pos - 1);
            m_pos = end + 1;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            const int start = m_pos;
            while (m_pos < size && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_'))) {
                ++m_pos;
            }
            m_token.kind = tkIdent;
            m_token.text = m_text.mid(start, m_pos - start);
        } else if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('.')) {
            const int start = m_pos++;
            while (m_pos < size && (m_text[m_pos].isDigit() || m_text[m_pos] == QLatin1Char('.'))) {
                ++m_pos;
            }
            m_token.kind = tkNumber;
            m_token.text = m_text.mid(start, m_pos - start);
        } else if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            m_token.kind = c == QLatin1Char('(') ? tkOpen : tkClose;
            m_token.text = c;
            ++m_pos;
        } else if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
            const int start = m_pos++;
            // Only <>, <= and >= pair up; ">>" would reach SQLite as its shift operator.
            const QChar next = m_pos < size ? m_text[m_pos] : QChar();
            if ((c == QLatin1Char('<') && (next == QLatin1Char('=') || next == QLatin1Char('>'))) ||
                (c == QLatin1Char('>') && next == QLatin1Char('='))) {
                ++m_pos;
            }
            m_token.kind = tkOperator;
            m_token.text = m_text.mid(start, m_pos - start);
        } else {
            m_token.text = c;
            Fail(QStringLiteral("unexpected '%1'").arg(c));
        }
    }

    QString ParseOr() {
        QString sql = ParseAnd();
        while (IsKeyword("or")) {
            Advance();
            sql = QStringLiteral("(%1 OR %2)").arg(sql, ParseAnd());
        }
        return sql;
    }

    QString ParseAnd() {
        QString sql = ParseNot();
        while (IsKeyword("and")) {
            Advance();
            sql = QStringLiteral("(%1 AND %2)").arg(sql, ParseNot());
        }
        return sql;
    }

    QString ParseNot() {
        // Each "not" and "(" recurses; bound the depth so that no filter can exhaust the stack.
        if (++m_depth > MaxDepth) {
            Fail(QStringLiteral("expression nested too deeply"));
        }
        QString sql = ParseNotOperand();
        --m_depth;
        return sql;
    }

    QString ParseNotOperand() {
        if (IsKeyword("not")) {
            Advance();
            return QStringLiteral("(NOT %1)").arg(ParseNot());
        }
        if (m_token.kind == tkOpen) {
            Advance();
            QString sql = ParseOr();
            if (m_token.kind != tkClose) {
                Fail(QStringLiteral("missing ')'"));
            }
            Advance();
            return sql;
        }
        return ParseComparison();
    }

    QString ParseComparison() {
        if (m_token.kind != tkIdent) {
            Fail(QStringLiteral("field name expected"));
        }
        const QString field = m_token.text;
        Advance();
        if (m_token.kind != tkOperator) {
            Fail(QStringLiteral("comparison expected"));
        }
        const QString op = m_token.text;
        Advance();
        if (m_token.kind != tkString && m_token.kind != tkNumber) {
            Fail(QStringLiteral("value expected"));
        }
        const auto [column, value] = m_resolver(field, m_token.text);
        Advance();
        // An empty text matches an empty field.
        if (value.isNull() && op == QLatin1String("=")) {
            return QStringLiteral("(%1 IS NULL)").arg(column);
        }
        if (value.isNull() && op == QLatin1String("<>")) {
            return QStringLiteral("(%1 IS NOT NULL)").arg(column);
        }
        m_parameters.push_back(value);
        return QStringLiteral("%1 %2 ?").arg(column, op);
    }

    static constexpr int MaxDepth = 200;

    QString m_text;
    const TFilterParser::TResolver& m_resolver;
    int m_pos = 0;
    int m_depth = 0;
    TToken m_token;
    std::vector<QVariant> m_parameters;
};
} // namespace

TCompiledFilter TFilterParser::Compile(const QString& filter, const TResolver& resolver) {
    return TParser(filter, resolver).Run();
}

QString FilterEquals(const QString& field, const QString& value) {
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return field + QLatin1String(" = '") + quoted + QLatin1Char('\'');
}
