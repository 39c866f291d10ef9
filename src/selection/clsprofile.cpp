#include "selection/clsprofile.h"

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "mathparser/mathparser.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QFileInfo>
#include <QLocale>
#include <cmath>

namespace supplink {

namespace {

constexpr qint32 kSubscriptOutOfRange = 9;

// The nodes of one shape: the first query reads them in ascending, the second in descending order.
// The code is bound, never pasted into the statement, and compared as codes compare (codeCollate); the
// Yes/No test reads as "not 0" on Jet and SQLite alike.
QString nodesQuery(bool contra, bool ascending, const QString& codeCollate)
{
    return QStringLiteral(
               "SELECT GrooveShapeNodes.OrderNr AS OrderNr, GrooveShapeNodes.DeltaZType AS DeltaZType, "
               "GrooveShapeNodes.DeltaZ AS DeltaZ, GrooveShapeNodes.DeltaZFormula AS DeltaZFormula, "
               "GrooveShapeNodes.DeltaX AS DeltaX, GrooveShape.Code AS ShapeCode, "
               "GrooveShapeGeom.PreviewWidth AS PreviewWidth, "
               "GrooveShapeGeom.PreviewHeight AS PreviewHeight "
               "FROM GrooveShape INNER JOIN (GrooveShapeGeom INNER JOIN GrooveShapeNodes "
               "ON GrooveShapeGeom.ID = GrooveShapeNodes.fkGrooveShapeGeom) "
               "ON GrooveShape.ID = GrooveShapeGeom.fkGrooveShape "
               "WHERE GrooveShape.Code = ?") +
           codeCollate + QStringLiteral(" AND GrooveShapeGeom.bContra ") +
           (contra ? QStringLiteral("<> 0") : QStringLiteral("= 0")) +
           (ascending ? QStringLiteral(" ORDER BY GrooveShapeNodes.OrderNr ASC")
                      : QStringLiteral(" ORDER BY GrooveShapeNodes.OrderNr DESC"));
}

// A stored number; null counts as 0, anything that is no number is an error.
double storedNumber(const QVariant& value, const QString& field)
{
    if (!value.isValid() || value.isNull())
        return 0.0;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        throw AppError(DbErrorNumber::TypeMismatch,
                       QStringLiteral("Ongeldig getal in %1: '%2'.").arg(field, value.toString()));
    return number;
}

// One side as the database holds it.
struct ShapeSide
{
    bool hasRows = false;
    QString code;
    double previewWidth = 0.0;
    double previewHeight = 0.0;
    double fixedSum = 0.0;
    std::vector<ProfileNode> nodes;
};

ShapeSide readSide(Recordset& rows, double divisor)
{
    ShapeSide side;
    const int type = rows.fieldIndex(QStringLiteral("DeltaZType"));
    const int deltaZ = rows.fieldIndex(QStringLiteral("DeltaZ"));
    const int formula = rows.fieldIndex(QStringLiteral("DeltaZFormula"));
    const int deltaX = rows.fieldIndex(QStringLiteral("DeltaX"));
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        if (!side.hasRows) {
            side.hasRows = true;
            side.code = NzString(rows.value(QStringLiteral("ShapeCode")));
            side.previewWidth =
                storedNumber(rows.value(QStringLiteral("PreviewWidth")), QStringLiteral("PreviewWidth"));
            side.previewHeight =
                storedNumber(rows.value(QStringLiteral("PreviewHeight")), QStringLiteral("PreviewHeight"));
        }
        ProfileNode node;
        node.formula = NzLong(rows.value(type)) != 0;
        node.deltaZ = storedNumber(rows.value(deltaZ), QStringLiteral("DeltaZ")) / divisor;
        node.deltaZFormula = NzString(rows.value(formula));
        node.deltaX = storedNumber(rows.value(deltaX), QStringLiteral("DeltaX")) / divisor;
        side.nodes.push_back(node);
    }
    return side;
}

// The value of a formula step; 0 when the formula cannot be evaluated.
double formulaStep(clsMathParser& parser, const QString& formula, double r)
{
    parser.StoreExpression(formula);
    parser.Variable(QStringLiteral("r"), r);
    const double value = parser.Eval();
    return std::isfinite(value) ? value : 0.0;
}

double fixedSum(const std::vector<ProfileNode>& nodes)
{
    double sum = 0.0;
    for (const ProfileNode& node : nodes) {
        if (!node.formula)
            sum += node.deltaZ;
    }
    return sum;
}

// A whole number of at least three digits, rounded half away from zero ("-005", "012", "1234").
QString threeDigits(double value)
{
    const double whole = std::round(value);
    const QString digits = QString::number(std::fabs(whole), 'f', 0).rightJustified(3, QLatin1Char('0'));
    return whole < 0 ? QLatin1Char('-') + digits : digits;
}

// Rounds to the given number of decimals, halves to the even neighbour.
double roundDecimals(double value, int decimals)
{
    const double factor = std::pow(10.0, decimals);
    const double scaled = value * factor;
    double rounded = std::round(scaled);
    if (std::fabs(scaled - std::trunc(scaled)) == 0.5)
        rounded = 2.0 * std::round(scaled / 2.0);
    return rounded / factor;
}

} // namespace

ProfileOutline BuildProfileOutline(double width, double height, const std::vector<ProfileNode>& left,
                                   const std::vector<ProfileNode>& right)
{
    const size_t count = (left.empty() ? 2 : left.size()) + (right.empty() ? 2 : right.size());
    ProfileOutline outline;
    outline.x.assign(count + 1, 0.0);
    outline.y.assign(count + 1, 0.0);
    std::vector<double>& x = outline.x;
    std::vector<double>& y = outline.y;

    clsMathParser parser; // one evaluator serves every formula of the outline
    x[0] = -width / 2;
    y[0] = 0.0;
    size_t i = 0;

    if (left.empty()) {
        x[1] = -width / 2;
        y[1] = height;
        i = 2;
    } else {
        const double r = height - fixedSum(left);
        for (const ProfileNode& node : left) {
            const double step = node.formula ? formulaStep(parser, node.deltaZFormula, r) : node.deltaZ;
            y[i] = (i == 0 ? 0.0 : y[i - 1]) + step;
            x[i] = node.deltaX - width / 2;
            ++i;
        }
    }

    y[i] = height; // the top of the right side
    if (right.empty()) {
        x[i] = width / 2;
        y[i] = height;
        x[i + 1] = width / 2;
        y[i + 1] = 0.0;
        i += 2;
    } else {
        // A right node's X belongs to the point at the top of its step.
        const double r = height - fixedSum(right);
        for (const ProfileNode& node : right) {
            const double step = node.formula ? formulaStep(parser, node.deltaZFormula, r) : node.deltaZ;
            y[i + 1] = y[i] - step;
            x[i] = width / 2 - node.deltaX;
            x[i + 1] = x[i];
            ++i;
        }
    }

    x[i] = x[0];
    y[i] = y[0];
    return outline;
}

QString ProfileNumberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

double ProfileNodeDivisor(bool jet, int deltaZFieldType)
{
    if (!jet)
        return 0.001;
    return deltaZFieldType == adType::Double ? 0.001 : 10.0;
}

const std::vector<double>& clsProfile::checked(const std::vector<double>& values, int i) const
{
    if (i < 0 || size_t(i) >= values.size())
        throw AppError(kSubscriptOutOfRange, QStringLiteral("Subscript valt buiten het bereik."));
    return values;
}

double clsProfile::x(int i) const
{
    return checked(m_x, i)[size_t(i)];
}

double clsProfile::Y(int i) const
{
    return checked(m_y, i)[size_t(i)];
}

int clsProfile::CoorDinateCount() const
{
    const size_t size = std::max(m_x.size(), m_y.size());
    return size == 0 ? 0 : int(size - 1);
}

bool clsProfile::GetProfileData(const QString& Code, const QString& ContraCode, bool Mirror)
{
    if (!Connectie)
        return false;
    const DbConnection db = Connectie->Connection();
    if (!db)
        return false;
    const bool jet = Connectie->IsJet();

    try {
        // Both node lists are read in full before anything of this object changes.
        const RecordsetPtr leftRows = db->openRecordset(nodesQuery(Contra, true, db->codeCollate()), {Code});
        const RecordsetPtr rightRows =
            db->openRecordset(nodesQuery(Contra, false, db->codeCollate()), {ContraCode});
        const double divisor = ProfileNodeDivisor(jet, leftRows->field(QStringLiteral("DeltaZ")).type());
        const ShapeSide left = readSide(*leftRows, divisor);
        const ShapeSide right = readSide(*rightRows, divisor);

        double width = Width;
        double height = Height;
        QString name;
        if (left.hasRows) {
            width = left.previewWidth / 10;
            height = left.previewHeight / 10;
            name = left.code;
        } else {
            name = QStringLiteral("VLAK");
        }
        if (right.hasRows) {
            // The second shape is read like the first: its own width and height, in tenths.
            width = right.previewWidth / 10;
            height = right.previewHeight / 10;
            name += QLatin1Char('_') + right.code;
        } else {
            name += QStringLiteral("_VLAK");
        }
        name += QLatin1Char('_') + ProfileNumberText(width) + ProfileNumberText(height);

        ProfileOutline outline = BuildProfileOutline(width, height, left.nodes, right.nodes);
        Width = width;
        Height = height;
        ProfileName = name;
        m_x = std::move(outline.x);
        m_y = std::move(outline.y);
        m_loaded = true;
        if (Mirror)
            MirrorHorizontal();
        return left.hasRows;
    } catch (const std::exception& e) {
        // A quiet load leaves the outcome to its caller (the preview keeps what it showed).
        if (!ReportErrors)
            return false;
        const AppError error = AppError::from(e);
        ui().messageBox((jet ? QStringLiteral("JET:") : QStringLiteral("SQLite:")) +
                            QString::number(error.number()) + QStringLiteral(": ") + error.description(),
                        MsgBox::OkOnly, QString::fromLatin1(kProgramTitle));
        return false;
    }
}

void clsProfile::MirrorHorizontal()
{
    if (!m_loaded)
        throw AppError(kSubscriptOutOfRange, QStringLiteral("Subscript valt buiten het bereik."));
    const size_t n = std::max(m_x.size(), m_y.size());
    const std::vector<double> oldX = m_x;
    const std::vector<double> oldY = m_y;
    for (size_t i = 0; i < n; ++i) {
        m_x[i] = oldX[n - 1 - i];
        m_y[i] = Height - oldY[n - 1 - i];
    }
}

QString clsProfile::HemagProfile() const
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("NAME=") + ProfileName + crlf + QStringLiteral("SPIEGEL=0") + crlf +
                   QStringLiteral("MIRROR_HOR = 0") + crlf;
    if (!m_loaded)
        return text;
    for (int i = 0; i <= CoorDinateCount(); ++i)
        text += QLatin1Char('p') + QString::number(i + 1) + QLatin1Char('=') + ProfileNumberText(x(i)) +
                QLatin1Char(' ') + ProfileNumberText(Y(i)) + crlf;
    return text;
}

QString clsProfile::ProfileCoordinates(int Decimals, double XOffset, bool Segments) const
{
    QString text;
    const int last = CoorDinateCount();
    if (last < 1)
        return text;
    const auto point = [&](int i) {
        text += threeDigits(roundDecimals(x(i) + XOffset, Decimals));
        text += threeDigits(roundDecimals(Y(i), Decimals));
    };
    if (Segments) {
        for (int i = 0; i < last; ++i) {
            point(i);
            point(i + 1);
        }
    } else {
        for (int i = 0; i <= last; ++i)
            point(i);
    }
    return text;
}

std::shared_ptr<clsProfile> LoadProfileFromDatabases(const QStringList& paths, const QString& code)
{
    for (const QString& path : paths) {
        if (!QFileInfo::exists(path))
            continue;
        clsConnectie connection;
        if (!connection.MakenJetorSQLiteConnectie(path, QString()))
            continue;
        auto profile = std::make_shared<clsProfile>();
        profile->Connectie = &connection;
        profile->ReportErrors = false;
        const bool found = profile->GetProfileData(code, QString(), false);
        profile->Connectie = nullptr;
        connection.SluitenConnectie();
        if (found)
            return profile;
    }
    return nullptr;
}

} // namespace supplink
