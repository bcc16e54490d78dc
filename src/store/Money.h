#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

class TFormatSettings;

// An exact amount with two decimals (kroner and øre), kept as a whole number of hundredths.
class TMoney {
public:
    constexpr TMoney() = default;
    static constexpr TMoney FromCents(qint64 cents) {
        TMoney money;
        money.m_cents = cents;
        return money;
    }
    constexpr qint64 Cents() const { return m_cents; }

    // Reads "1234", "-1.234,5" or "1234,56" with the given separators; no value for anything else,
    // including more than two decimals.
    static std::optional<TMoney> Parse(const QString& text, const TFormatSettings& settings);
    // Two decimals, no grouping: "1234,50".
    QString ToString(const TFormatSettings& settings) const;
    // Shortest form without trailing zeros: "1234,5", "12".
    QString ToGeneralString(const TFormatSettings& settings) const;

    constexpr TMoney operator+(TMoney other) const { return FromCents(m_cents + other.m_cents); }
    constexpr TMoney& operator+=(TMoney other) {
        m_cents += other.m_cents;
        return *this;
    }
    constexpr bool operator==(const TMoney&) const = default;

private:
    qint64 m_cents = 0;
};
