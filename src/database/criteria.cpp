#include "database/criteria.h"

#include "database/databasebackend.h"
#include "platform/codecompare.h"

#include <QLocale>

namespace supplink {

namespace {

[[noreturn]] void fail(const QString& criteria, const QString& why)
{
    throw AppError(DbErrorNumber::BadArguments,
                   QStringLiteral("Ongeldig zoekcriterium (%1): %2").arg(why, criteria));
}

bool isNumericType(const QVariant& value)
{
    const int type = value.typeId();
    return isIntegralType(type) || type == QMetaType::Double || type == QMetaType::Float ||
           type == QMetaType::Bool;
}

// Whether a number text can start with the character: a digit, a sign (also the Unicode minus), a
// decimal point, or the first letter of "inf" or "nan". Most texts (codes, names) fail here, which
// spares them the locale's full number reading.
bool canStartNumber(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.' || u == u'i' || u == u'I' ||
           u == u'n' || u == u'N' || u == 0x2212;
}

std::optional<double> readNumber(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty() || !canStartNumber(text.front()))
        return std::nullopt;
    bool ok = false;
    const double number = QLocale::c().toDouble(text, &ok);
    if (!ok)
        return std::nullopt;
    return number;
}

class Parser
{
public:
    explicit Parser(const QString& text) : m_text(text) {}

    Criteria parse()
    {
        Criteria criteria;
        skipBlanks();
        if (atEnd())
            return criteria;
        for (;;) {
            criteria.terms.append(term());
            skipBlanks();
            if (atEnd())
                break;
            if (!keyword(QLatin1String("AND")))
                fail(m_text, QStringLiteral("AND verwacht"));
        }
        return criteria;
    }

private:
    Criteria::Term term()
    {
        skipBlanks();
        Criteria::Term t;
        t.field = fieldName();
        skipBlanks();
        t.op = op();
        skipBlanks();
        value(t);
        return t;
    }

    QString fieldName()
    {
        if (peek() == u'[') {
            const qsizetype close = m_text.indexOf(u']', m_pos + 1);
            if (close < 0)
                fail(m_text, QStringLiteral("']' ontbreekt"));
            const QString name = m_text.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return name;
        }
        const qsizetype start = m_pos;
        while (!atEnd() && !peek().isSpace() && !QStringView(u"=<>!").contains(peek()))
            ++m_pos;
        if (m_pos == start)
            fail(m_text, QStringLiteral("veldnaam ontbreekt"));
        return m_text.mid(start, m_pos - start);
    }

    Criteria::Op op()
    {
        const QStringView two = QStringView(m_text).mid(m_pos, 2);
        if (two == QLatin1String("<>") || two == QLatin1String("!=")) {
            m_pos += 2;
            return Criteria::Op::Ne;
        }
        if (two == QLatin1String("<=")) {
            m_pos += 2;
            return Criteria::Op::Le;
        }
        if (two == QLatin1String(">=")) {
            m_pos += 2;
            return Criteria::Op::Ge;
        }
        const QChar c = peek();
        if (c == u'=' || c == u'<' || c == u'>') {
            ++m_pos;
            return c == u'=' ? Criteria::Op::Eq : c == u'<' ? Criteria::Op::Lt : Criteria::Op::Gt;
        }
        if (keyword(QLatin1String("LIKE")))
            return Criteria::Op::Like;
        fail(m_text, QStringLiteral("vergelijking verwacht"));
    }

    void value(Criteria::Term& t)
    {
        const QChar c = peek();
        if (c == u'\'' || c == u'#') {
            t.text = quoted(c);
        } else {
            const qsizetype start = m_pos;
            while (!atEnd() && !peek().isSpace())
                ++m_pos;
            if (m_pos == start)
                fail(m_text, QStringLiteral("waarde ontbreekt"));
            t.text = m_text.mid(start, m_pos - start);
            if (const auto number = readNumber(t.text)) {
                t.isNumberLiteral = true;
                t.number = *number;
                return;
            }
        }
        if (const auto number = readNumber(t.text)) {
            t.textIsNumber = true;
            t.number = *number;
        }
    }

    QString quoted(QChar quote)
    {
        QString result;
        ++m_pos;
        for (;;) {
            if (atEnd())
                fail(m_text, QStringLiteral("afsluitend aanhalingsteken ontbreekt"));
            const QChar c = m_text.at(m_pos++);
            if (c == quote) {
                if (quote == u'\'' && peek() == quote) {
                    result.append(quote);
                    ++m_pos;
                    continue;
                }
                return result;
            }
            result.append(c);
        }
    }

    // A keyword followed by a blank (or the end, for a value-less keyword never used here).
    bool keyword(QLatin1String word)
    {
        if (QStringView(m_text).mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype after = m_pos + word.size();
        if (after < m_text.size() && !m_text.at(after).isSpace() && m_text.at(after) != u'\'')
            return false;
        m_pos = after;
        return true;
    }

    void skipBlanks()
    {
        while (!atEnd() && peek().isSpace())
            ++m_pos;
    }
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }

    const QString& m_text;
    qsizetype m_pos = 0;
};

// Wildcard match as codes compare: * and % stand for any run of characters.
bool likeMatch(const QString& value, const QString& pattern)
{
    const QString folded = foldCode(value);
    const QString foldedPattern = foldCode(pattern);
    const QStringView text(folded);
    const QStringView wanted(foldedPattern);
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < wanted.size() && (wanted[p] == u'*' || wanted[p] == u'%')) {
            starP = p++;
            starT = t;
        } else if (p < wanted.size() && text[t] == wanted[p]) {
            ++t;
            ++p;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < wanted.size() && (wanted[p] == u'*' || wanted[p] == u'%'))
        ++p;
    return p == wanted.size();
}

template <typename T> bool compareWith(Criteria::Op op, const T& order)
{
    switch (op) {
    case Criteria::Op::Eq:
        return order == 0;
    case Criteria::Op::Ne:
        return order != 0;
    case Criteria::Op::Lt:
        return order < 0;
    case Criteria::Op::Le:
        return order <= 0;
    case Criteria::Op::Gt:
        return order > 0;
    case Criteria::Op::Ge:
        return order >= 0;
    case Criteria::Op::Like:
        break;
    }
    return false;
}

int numberOrder(double a, double b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

std::optional<Criteria> Criteria::equalTo(const QString& field, const QString& value, bool asNumber)
{
    Term term;
    term.field = field;
    term.op = Op::Eq;
    term.text = value;
    if (asNumber) {
        // As the bare number after "=" reads.
        const auto number = readNumber(value);
        if (!number || value.trimmed().contains(u' '))
            return std::nullopt;
        term.text = value.trimmed();
        term.isNumberLiteral = true;
        term.number = *number;
    } else {
        if (const auto number = readNumber(value)) {
            term.textIsNumber = true;
            term.number = *number;
        }
    }
    Criteria criteria;
    criteria.terms.append(term);
    return criteria;
}

Criteria Criteria::equalToNumber(const QString& field, double number)
{
    Term term;
    term.field = field;
    term.op = Op::Eq;
    term.isNumberLiteral = true;
    term.number = number;
    Criteria criteria;
    criteria.terms.append(term);
    return criteria;
}

Criteria Criteria::parse(const QString& text)
{
    return Parser(text).parse();
}

QString CriteriaValueText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

std::optional<double> CriteriaValueNumber(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1.0 : 0.0;
    if (isNumericType(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::QString)
        return readNumber(value.toString());
    return std::nullopt;
}

bool CriteriaMatches(const QVariant& value, const Criteria::Term& term)
{
    if (!value.isValid() || value.isNull())
        return false;
    if (term.op == Criteria::Op::Like)
        return likeMatch(CriteriaValueText(value), term.text);

    const bool valueIsNumber = isNumericType(value);
    if (term.isNumberLiteral || (valueIsNumber && term.textIsNumber)) {
        const auto number = CriteriaValueNumber(value);
        if (!number)
            return false;
        return compareWith(term.op, numberOrder(*number, term.number));
    }
    return compareWith(term.op, compareCodes(CriteriaValueText(value), term.text));
}

} // namespace supplink
