#include "platform/jetsql.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <vector>

namespace supplink {

namespace {

enum class Kind
{
    Space,
    Word,
    Number,
    String,
    Bracket,
    Date,
    Punct,
    Other
};

struct Token
{
    Kind kind = Kind::Other;
    QString text;  // what the output gets; emptied when the token is dropped
    QString value; // the inside of a string literal or of brackets
    QString prefix;
    QString suffix;
    int depth = 0;  // open parentheses before this token (a closing one counts its own)
    int match = -1; // the partner of a parenthesis
};

bool isWord(const Token& token, const char* word)
{
    return token.kind == Kind::Word && token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isPunct(const Token& token, const char* punct)
{
    return token.kind == Kind::Punct && token.text == QLatin1String(punct);
}

// A Jet date literal's inside: US (m/d/y) or ISO (y-m-d) dates, times with
// or without seconds and AM/PM, or a time alone (on Jet's day zero).
QString jetDateLiteral(const QString& inside)
{
    static const QRegularExpression timePart(
        QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*([AaPp][Mm])?$"));
    static const QRegularExpression isoDate(
        QStringLiteral("^(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})(?:\\s+(.+))?$"));
    static const QRegularExpression usDate(
        QStringLiteral("^(\\d{1,2})[-/](\\d{1,2})[-/](\\d{4}|\\d{2})(?:\\s+(.+))?$"));

    const QString text = inside.trimmed();
    QDate date(1899, 12, 30);
    QString timeText;
    if (const auto iso = isoDate.match(text); iso.hasMatch()) {
        date = QDate(iso.captured(1).toInt(), iso.captured(2).toInt(), iso.captured(3).toInt());
        timeText = iso.captured(4);
    } else if (const auto us = usDate.match(text); us.hasMatch()) {
        int year = us.captured(3).toInt();
        if (us.captured(3).size() == 2)
            year += year < 30 ? 2000 : 1900;
        date = QDate(year, us.captured(1).toInt(), us.captured(2).toInt());
        timeText = us.captured(4);
    } else {
        timeText = text;
    }
    if (!date.isValid())
        return {};
    QTime time(0, 0);
    if (!timeText.isEmpty()) {
        const auto parts = timePart.match(timeText.trimmed());
        if (!parts.hasMatch())
            return {};
        int hour = parts.captured(1).toInt();
        const QString half = parts.captured(4).toUpper();
        if (!half.isEmpty()) {
            if (hour < 1 || hour > 12)
                return {};
            hour = hour % 12 + (half == QLatin1String("PM") ? 12 : 0);
        }
        time = QTime(hour, parts.captured(2).toInt(),
                     parts.captured(3).isEmpty() ? 0 : parts.captured(3).toInt());
        if (!time.isValid())
            return {};
    }
    return QLatin1Char('\'') + date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('\'');
}

std::vector<Token> tokenize(const QString& sql)
{
    std::vector<Token> tokens;
    const qsizetype n = sql.size();
    tokens.reserve(size_t(n / 3 + 4));
    qsizetype i = 0;
    const auto push = [&tokens](Kind kind, const QString& text, const QString& value = QString()) {
        Token token;
        token.kind = kind;
        token.text = text;
        token.value = value;
        tokens.push_back(std::move(token));
    };
    while (i < n) {
        const QChar c = sql[i];
        qsizetype j = i + 1;
        if (c.isSpace()) {
            while (j < n && sql[j].isSpace())
                ++j;
            push(Kind::Space, sql.mid(i, j - i));
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString inside;
            bool closed = false;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        inside += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                inside += sql[j++];
            }
            if (!closed) {
                push(Kind::Other, sql.mid(i));
                break;
            }
            // Jet reads "text" as a string, SQLite as a name.
            QString literal = inside;
            literal.replace(QLatin1Char('\''), QStringLiteral("''"));
            push(Kind::String, QLatin1Char('\'') + literal + QLatin1Char('\''), inside);
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = sql.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0) {
                push(Kind::Other, sql.mid(i));
                break;
            }
            j = close + 1;
            push(Kind::Bracket, sql.mid(i, j - i), sql.mid(i + 1, close - i - 1));
        } else if (c == QLatin1Char('#')) {
            const qsizetype close = sql.indexOf(QLatin1Char('#'), i + 1);
            const QString literal =
                close > i && close - i <= 40 ? jetDateLiteral(sql.mid(i + 1, close - i - 1)) : QString();
            if (literal.isEmpty()) {
                push(Kind::Punct, QString(c));
            } else {
                j = close + 1;
                push(Kind::Date, literal);
            }
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql[i + 1].isDigit())) {
            while (j < n && (sql[j].isDigit() || sql[j] == QLatin1Char('.')))
                ++j;
            if (j < n && (sql[j] == QLatin1Char('e') || sql[j] == QLatin1Char('E'))) {
                qsizetype k = j + 1;
                if (k < n && (sql[k] == QLatin1Char('+') || sql[k] == QLatin1Char('-')))
                    ++k;
                if (k < n && sql[k].isDigit()) {
                    j = k;
                    while (j < n && sql[j].isDigit())
                        ++j;
                }
            }
            push(Kind::Number, sql.mid(i, j - i));
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_')))
                ++j;
            push(Kind::Word, sql.mid(i, j - i));
        } else {
            static const QStringList pairs = {QStringLiteral("<>"), QStringLiteral("<="),
                                              QStringLiteral(">="), QStringLiteral("||"),
                                              QStringLiteral("!=")};
            const QString two = sql.mid(i, 2);
            if (pairs.contains(two))
                j = i + 2;
            push(Kind::Punct, sql.mid(i, j - i));
        }
        i = j;
    }

    std::vector<int> open;
    for (int k = 0; k < int(tokens.size()); ++k) {
        tokens[k].depth = int(open.size());
        if (isPunct(tokens[k], "(")) {
            open.push_back(k);
        } else if (isPunct(tokens[k], ")") && !open.empty()) {
            tokens[k].match = open.back();
            tokens[open.back()].match = k;
            open.pop_back();
        }
    }
    return tokens;
}

class Translator
{
public:
    explicit Translator(const QString& sql) : m_tokens(tokenize(sql))
    {
        for (int k = 0; k < int(m_tokens.size()); ++k)
            if (m_tokens[k].kind != Kind::Space)
                m_significant.push_back(k);
    }

    JetTranslation run()
    {
        attachFiles();
        dropDeleteTarget();
        booleans();
        concatenation();
        topToLimit();
        JetTranslation result;
        for (const Token& token : m_tokens)
            result.sql += token.prefix + token.text + token.suffix;
        result.attachments = m_attachments;
        return result;
    }

private:
    // Position s in the list of significant tokens; an out-of-range
    // position gives a blank token.
    const Token& sig(int s) const
    {
        static const Token none;
        return s >= 0 && s < int(m_significant.size()) ? m_tokens[m_significant[s]] : none;
    }
    Token& sigRef(int s) { return m_tokens[m_significant[s]]; }
    int sigCount() const { return int(m_significant.size()); }
    int sigOf(int tokenIndex) const
    {
        const auto it = std::lower_bound(m_significant.begin(), m_significant.end(), tokenIndex);
        return it != m_significant.end() && *it == tokenIndex ? int(it - m_significant.begin()) : -1;
    }
    void blankSpaceAfter(int tokenIndex)
    {
        if (tokenIndex + 1 < int(m_tokens.size()) && m_tokens[tokenIndex + 1].kind == Kind::Space)
            m_tokens[tokenIndex + 1].text.clear();
    }

    QString aliasFor(const QString& path)
    {
        for (const JetAttachment& attachment : m_attachments)
            if (attachment.path == path)
                return attachment.alias;
        const QString alias = QStringLiteral("extdb%1").arg(m_attachments.size() + 1);
        m_attachments.append({alias, path});
        return alias;
    }

    // A file: a folder or drive in it, or a name with an extension.
    static bool looksLikePath(const QString& name)
    {
        static const QRegularExpression extension(QStringLiteral("\\.[A-Za-z]{1,8}$"));
        return name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/')) ||
               name.contains(QLatin1Char(':')) || extension.match(name).hasMatch();
    }

    void attachFiles()
    {
        for (int s = 0; s < sigCount(); ++s) {
            Token& token = sigRef(s);
            if (token.kind == Kind::Bracket && isPunct(sig(s + 1), ".") &&
                m_significant[s + 1] == m_significant[s] + 1 && looksLikePath(token.value)) {
                token.text = aliasFor(token.value);
            } else if (isWord(token, "IN") && sig(s + 1).kind == Kind::String &&
                       (sig(s - 1).kind == Kind::Word || sig(s - 1).kind == Kind::Bracket) &&
                       !isPunct(sig(s - 2), ".")) {
                Token& table = sigRef(s - 1);
                table.text = aliasFor(sig(s + 1).value) + QLatin1Char('.') + table.text;
                for (int k = m_significant[s - 1] + 1; k <= m_significant[s + 1]; ++k)
                    m_tokens[k].text.clear();
            }
        }
    }

    void dropDeleteTarget()
    {
        if (!isWord(sig(0), "DELETE") || isWord(sig(1), "FROM"))
            return;
        for (int s = 1; s < sigCount(); ++s) {
            if (isWord(sig(s), "FROM") && sig(s).depth == 0) {
                if (!isPunct(sig(s - 1), "*"))
                    return;
                for (int k = m_significant[0] + 1; k < m_significant[s]; ++k)
                    m_tokens[k].text.clear();
                sigRef(s).prefix = QStringLiteral(" ") + sigRef(s).prefix;
                return;
            }
        }
    }

    // True when the comparison operator at s assigns (UPDATE ... SET x = ...).
    bool isAssignment(int s) const
    {
        if (sig(s).depth != 0)
            return false;
        const auto isName = [this](int p) {
            return sig(p).kind == Kind::Word || sig(p).kind == Kind::Bracket;
        };
        int name = s - 1;
        if (!isName(name))
            return false;
        while (isPunct(sig(name - 1), ".") && isName(name - 2))
            name -= 2;
        const int before = name - 1;
        return (isWord(sig(before), "SET") || isPunct(sig(before), ",")) && inSetClause(before);
    }

    bool inSetClause(int s) const
    {
        for (int b = s; b >= 0; --b) {
            if (sig(b).depth != 0)
                continue;
            if (isWord(sig(b), "SET"))
                return true;
            if (isWord(sig(b), "WHERE") || isWord(sig(b), "SELECT") || isWord(sig(b), "VALUES"))
                return false;
        }
        return false;
    }

    void booleans()
    {
        for (int s = 0; s < sigCount(); ++s) {
            const bool isTrue = isWord(sig(s), "TRUE");
            if (!(isTrue || isWord(sig(s), "FALSE")) || isPunct(sig(s - 1), ".") ||
                isPunct(sig(s + 1), ".") || isPunct(sig(s + 1), "("))
                continue;
            Token& token = sigRef(s);
            int op = -1;
            if ((isPunct(sig(s - 1), "=") || isPunct(sig(s - 1), "<>")) && !isAssignment(s - 1))
                op = s - 1;
            else if (isPunct(sig(s + 1), "=") || isPunct(sig(s + 1), "<>"))
                op = s + 1;
            if (op < 0) {
                token.text = isTrue ? QStringLiteral("-1") : QStringLiteral("0");
                continue;
            }
            // A Yes/No value is "not 0": True may be stored as -1 or as 1.
            token.text = QStringLiteral("0");
            if (isTrue) {
                Token& comparison = sigRef(op);
                comparison.text =
                    comparison.text == QLatin1String("=") ? QStringLiteral("<>") : QStringLiteral("=");
            }
        }
    }

    bool isOperandBoundary(const Token& token) const
    {
        static const QStringList words = {
            QStringLiteral("AND"),    QStringLiteral("OR"),       QStringLiteral("NOT"),
            QStringLiteral("XOR"),    QStringLiteral("LIKE"),     QStringLiteral("IS"),
            QStringLiteral("IN"),     QStringLiteral("BETWEEN"),  QStringLiteral("AS"),
            QStringLiteral("SELECT"), QStringLiteral("FROM"),     QStringLiteral("WHERE"),
            QStringLiteral("ON"),     QStringLiteral("THEN"),     QStringLiteral("ELSE"),
            QStringLiteral("WHEN"),   QStringLiteral("CASE"),     QStringLiteral("END"),
            QStringLiteral("HAVING"), QStringLiteral("BY"),       QStringLiteral("SET"),
            QStringLiteral("VALUES"), QStringLiteral("DISTINCT"), QStringLiteral("TOP"),
            QStringLiteral("ORDER"),  QStringLiteral("GROUP"),    QStringLiteral("JOIN"),
            QStringLiteral("INTO"),   QStringLiteral("UNION"),    QStringLiteral("LIMIT"),
            QStringLiteral("ASC"),    QStringLiteral("DESC"),     QStringLiteral("EQV"),
            QStringLiteral("IMP"),    QStringLiteral("UPDATE"),   QStringLiteral("DELETE"),
            QStringLiteral("INSERT"), QStringLiteral("ESCAPE")};
        static const QStringList puncts = {QStringLiteral(","),  QStringLiteral(";"),  QStringLiteral("="),
                                           QStringLiteral("<>"), QStringLiteral("<"),  QStringLiteral(">"),
                                           QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("!="),
                                           QStringLiteral("&"),  QStringLiteral("||")};
        if (token.kind == Kind::Word)
            return words.contains(token.text, Qt::CaseInsensitive);
        return token.kind == Kind::Punct && puncts.contains(token.text);
    }

    // The first significant position of the operand that ends at s (or -1).
    int operandStart(int s) const
    {
        int start = -1;
        while (s >= 0) {
            const Token& token = sig(s);
            if (isPunct(token, ")")) {
                if (token.match < 0)
                    break;
                s = sigOf(token.match);
            } else if (isPunct(token, "(") || isOperandBoundary(token)) {
                break;
            }
            start = s--;
        }
        return start;
    }

    // The last significant position of the operand that starts at s (or -1).
    int operandEnd(int s) const
    {
        int end = -1;
        while (s < sigCount()) {
            const Token& token = sig(s);
            if (isPunct(token, "(")) {
                if (token.match < 0)
                    break;
                s = sigOf(token.match);
            } else if (isPunct(token, ")") || isOperandBoundary(token)) {
                break;
            }
            end = s++;
        }
        return end;
    }

    // Jet's & joins texts and reads Null as an empty text; SQLite's ||
    // would make the whole result Null.
    void concatenation()
    {
        std::vector<bool> done(m_significant.size(), false);
        for (int s = 0; s < sigCount(); ++s) {
            if (!isPunct(sig(s), "&") || done[s])
                continue;
            std::vector<std::pair<int, int>> operands;
            std::vector<int> joins;
            const int firstStart = operandStart(s - 1);
            int at = s;
            bool complete = firstStart >= 0;
            if (complete)
                operands.emplace_back(firstStart, s - 1);
            while (complete && isPunct(sig(at), "&")) {
                joins.push_back(at);
                const int end = operandEnd(at + 1);
                if (end < 0) {
                    complete = false;
                    break;
                }
                operands.emplace_back(at + 1, end);
                at = end + 1;
            }
            if (!complete) {
                sigRef(s).text = QStringLiteral("||");
                done[s] = true;
                continue;
            }
            for (int join : joins) {
                sigRef(join).text = QStringLiteral("||");
                done[join] = true;
            }
            for (const auto& [first, last] : operands) {
                sigRef(first).prefix += QStringLiteral("ifnull(");
                sigRef(last).suffix += QStringLiteral(",'')");
            }
            sigRef(operands.front().first).prefix.prepend(QLatin1Char('('));
            sigRef(operands.back().second).suffix += QLatin1Char(')');
        }
    }

    void topToLimit()
    {
        for (int s = 0; s < sigCount(); ++s) {
            if (!isWord(sig(s), "SELECT"))
                continue;
            int top = s + 1;
            if (isWord(sig(top), "DISTINCT") || isWord(sig(top), "ALL") || isWord(sig(top), "DISTINCTROW"))
                ++top;
            if (!isWord(sig(top), "TOP") || sig(top + 1).kind != Kind::Number ||
                isWord(sig(top + 2), "PERCENT"))
                continue;
            const QString count = sig(top + 1).text;
            bool whole = false;
            count.toLongLong(&whole);
            if (!whole)
                continue;
            // The end of this SELECT: the parenthesis that closes around it,
            // a semicolon at its level, or the end of the statement.
            const int depth = sig(s).depth;
            int last = top + 1;
            for (int e = top + 2; e < sigCount(); ++e) {
                if (sig(e).depth == depth && (isPunct(sig(e), ")") || isPunct(sig(e), ";")))
                    break;
                if (sig(e).depth == depth && isWord(sig(e), "UNION"))
                    break;
                last = e;
            }
            for (int k = top; k <= top + 1; ++k) {
                sigRef(k).text.clear();
                blankSpaceAfter(m_significant[k]);
            }
            if (last == top + 1)
                sigRef(s).suffix += QStringLiteral(" LIMIT ") + count;
            else
                sigRef(last).suffix += QStringLiteral(" LIMIT ") + count;
        }
    }

    std::vector<Token> m_tokens;
    std::vector<int> m_significant;
    QList<JetAttachment> m_attachments;
};

} // namespace

JetTranslation translateJetStatement(const QString& jetSql)
{
    return Translator(jetSql).run();
}

QString translateJetSql(const QString& jetSql)
{
    return translateJetStatement(jetSql).sql;
}

} // namespace supplink
