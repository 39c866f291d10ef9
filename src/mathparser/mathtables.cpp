#include "mathparser/mathtables.h"

#include "mathparser/functioncodes.h"

#include <QHash>
#include <QStringList>

#include <cmath>

namespace supplink::mathtables {
namespace {

const char* const kOneArgumentNames =
    "Abs Atn Atan Cos Exp Fix Int Ln Log Rnd Sgn Sin Sqr Cbr Tan Acos Asin Cosh Sinh Tanh Acosh Asinh "
    "Atanh Fact Not Erf Gamma Gammaln Digamma Zeta Ei AiryA AiryB csc sec cot acsc asec acot csch sech "
    "coth acsch asech acoth dec rad deg grad neg Si Ci fresnels fresnelc J0 Y0 I0 K0 Psi Year Month Day "
    "Hour Minute Second";

const char* const kTwoArgumentNames =
    "Comb Max Min Mcm Mcd Lcm Gcd Mod And Or Xor Beta Root Round Nand Nor NXor Perm LogN DPoisson "
    "CPoisson Ein BesselI BesselJ BesselK BesselY GammaI PolyLe PolyHe PolyCh PolyLa elli1 elli2 wtri "
    "wsqr wsaw wraise wparab";

const char* const kThreeArgumentNames =
    "DNorm CNorm DBinom CBinom BetaI Clip wrect wtrapez wlin wpulse wsteps "
    "wexp wexpb wpulsef wripple DateSerial TimeSerial";

const char* const kFourArgumentNames = "HypGeom wring wam wfm";

struct NameCode
{
    const char* name;
    int code;
};

// Lower-case name table. Several names share a code.
// clang-format off
const NameCode kNameTable[] = {
    {"+", 0}, {"-", 1}, {"*", 2}, {"/", 3}, {"%", 4}, {"\\", 5}, {"^", 6}, {"!", 30},
    {">", 36}, {">=", 37}, {"=>", 37}, {"<", 38}, {"<=", 39}, {"=<", 39}, {"=", 40}, {"<>", 41},
    {"@right", -2},
    {"abs", 7}, {"atn", 8}, {"atan", 8}, {"cos", 9}, {"exp", 12}, {"fix", 13}, {"int", 14}, {"ln", 15},
    {"log", 16}, {"rnd", 17}, {"sgn", 18}, {"sin", 11}, {"sqr", 19}, {"cbr", 65}, {"tan", 20},
    {"acos", 21}, {"asin", 22}, {"cosh", 23}, {"sinh", 24}, {"tanh", 25}, {"acosh", 26}, {"asinh", 27},
    {"atanh", 28}, {"fact", 30}, {"not", 44}, {"erf", 46}, {"gamma", 47}, {"gammaln", 48},
    {"digamma", 49}, {"zeta", 51}, {"ei", 52}, {"airya", 99}, {"airyb", 100}, {"csc", 53}, {"sec", 54},
    {"cot", 55}, {"acsc", 56}, {"asec", 57}, {"acot", 58}, {"csch", 59}, {"sech", 60}, {"coth", 61},
    {"acsch", 62}, {"asech", 63}, {"acoth", 64}, {"dec", 67}, {"rad", 68}, {"deg", 69}, {"grad", 71},
    {"neg", 75}, {"si", 81}, {"ci", 82}, {"fresnels", 83}, {"fresnelc", 84}, {"j0", 89}, {"y0", 90},
    {"i0", 92}, {"k0", 91}, {"psi", 49}, {"year", 150}, {"month", 151}, {"day", 152}, {"hour", 153},
    {"minute", 154}, {"second", 155},
    {"comb", 31}, {"max", 33}, {"min", 32}, {"mcm", 35}, {"mcd", 34}, {"lcm", 35}, {"gcd", 34},
    {"mod", 29}, {"and", 42}, {"or", 43}, {"xor", 45}, {"beta", 50}, {"root", 66}, {"round", 70},
    {"nand", 72}, {"nor", 73}, {"nxor", 74}, {"perm", 76}, {"logn", 77}, {"dpoisson", 78},
    {"cpoisson", 79}, {"ein", 80}, {"besseli", 87}, {"besselj", 85}, {"besselk", 88}, {"bessely", 86},
    {"gammai", 94}, {"polyle", 95}, {"polyhe", 97}, {"polych", 98}, {"polyla", 96}, {"elli1", 101},
    {"elli2", 102}, {"wtri", 103}, {"wsqr", 104}, {"wsaw", 105}, {"wraise", 106}, {"wparab", 107},
    {"dnorm", 201}, {"cnorm", 202}, {"dbinom", 203}, {"cbinom", 204}, {"betai", 206}, {"clip", 207},
    {"wrect", 208}, {"wtrapez", 209}, {"wlin", 210}, {"wpulse", 211}, {"wsteps", 212}, {"wexp", 213},
    {"wexpb", 214}, {"wpulsef", 215}, {"wripple", 216}, {"dateserial", 306}, {"timeserial", 307},
    {"hypgeom", 205}, {"wring", 217}, {"wam", 218}, {"wfm", 219},
};
// clang-format on

struct Tables
{
    QHash<QString, int> codes;
    QHash<QString, int> argCounts;
    QStringList allNames;

    Tables()
    {
        for (const NameCode& entry : kNameTable)
            codes.insert(QString::fromLatin1(entry.name), entry.code);
        addList(kOneArgumentNames, 1);
        addList(kTwoArgumentNames, 2);
        addList(kThreeArgumentNames, 3);
        addList(kFourArgumentNames, 4);
    }

    void addList(const char* list, int count)
    {
        const QStringList names = QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& name : names) {
            argCounts.insert(name.toLower(), count);
            allNames.append(name);
        }
    }
};

const Tables& tables()
{
    static const Tables instance;
    return instance;
}

} // namespace

int FunctionCode(QStringView name)
{
    return tables().codes.value(name.toString().toLower(), -1);
}

int FunctionArgCount(QStringView name)
{
    return tables().argCounts.value(name.toString().toLower(), 0);
}

QString OneArgumentNames()
{
    return QString::fromLatin1(kOneArgumentNames);
}

QString FunctionNames(int argCount)
{
    switch (argCount) {
    case 2:
        return QString::fromLatin1(kTwoArgumentNames);
    case 3:
        return QString::fromLatin1(kThreeArgumentNames);
    case 4:
        return QString::fromLatin1(kFourArgumentNames);
    default:
        return QString();
    }
}

QStringList AllFunctionNames()
{
    return tables().allNames;
}

bool UnitPrefix(QChar prefix, int& exponent)
{
    switch (prefix.unicode()) {
    case 'p':
        exponent = -12;
        return true;
    case 'n':
        exponent = -9;
        return true;
    case 'u':
    case 0x00B5: // micro sign
        exponent = -6;
        return true;
    case 'm':
        exponent = -3;
        return true;
    case 'c':
        exponent = -2;
        return true;
    case 'k':
        exponent = 3;
        return true;
    case 'M':
        exponent = 6;
        return true;
    case 'G':
        exponent = 9;
        return true;
    case 'T':
        exponent = 12;
        return true;
    default:
        return false;
    }
}

bool BaseUnitFactor(QStringView unit, double& factor)
{
    static const char* const kUnits[] = {"s", "Hz", "m", "rad", "Rad", "RAD", "S",   "V",
                                         "A", "W",  "F", "bar", "Pa",  "Nm",  "Ohm", "ohm"};
    if (unit == u"g") {
        factor = 0.001;
        return true;
    }
    for (const char* name : kUnits) {
        if (unit == QLatin1String(name)) {
            factor = 1.0;
            return true;
        }
    }
    return false;
}

bool ConstantValue(QStringView name, double& value)
{
    // Values written with a power of ten are ten raised to the exponent, times the mantissa.
    const auto scaled = [](double mantissa, int exponent) { return std::pow(10.0, exponent) * mantissa; };
    struct Constant
    {
        const char* name;
        double value;
    };
    static const Constant kConstants[] = {
        {"pi", ShortPi},
        {"PI", ShortPi},
        {"pi2", ShortPi / 2},
        {"pi3", ShortPi / 3},
        {"pi4", ShortPi / 4},
        {"e", 2.71828182845905},
        {"eu", 0.577215664901533},
        {"phi", 1.61803398874989},
        {"g", 9.80665},
        {"G", scaled(6.672, -11)},
        {"R", 8.31451},
        {"eps", scaled(8.854187817, -12)},
        {"mu", scaled(12.566370614, -7)},
        {"c", scaled(2.99792458, 8)},
        {"q", scaled(1.60217733, -19)},
        {"me", scaled(9.1093897, -31)},
        {"mp", scaled(1.6726231, -27)},
        {"mn", scaled(1.6749286, -27)},
        {"K", scaled(1.380658, -23)},
        {"h", scaled(6.6260755, -34)},
        {"A", scaled(6.0221367, 23)},
    };
    for (const Constant& constant : kConstants) {
        if (name == QLatin1String(constant.name)) {
            value = constant.value;
            return true;
        }
    }
    return false;
}

QString MessageText(int number)
{
    switch (number) {
    case 1:
        return QStringLiteral("Te veel variabelen");
    case 2:
        return QStringLiteral("Variabele niet gevonden");
    case 4:
        return QStringLiteral("ABS symbolen |.| matchen niet");
    case 5:
        return QStringLiteral("Syntaxis fout op positie: $");
    case 6:
        return QStringLiteral("Onbekende functie < $ > op positie: $");
    case 7:
        return QStringLiteral("Te veel haakjes sluiten op positie: $");
    case 8:
        return QStringLiteral("Onvoldoende argumenten");
    case 9:
        return QStringLiteral("Teveel argumenten op positie: $");
    case 11:
        return QStringLiteral("Onvoldoende haakjes sluiten op positie: ");
    case 12:
        return QStringLiteral("Syntaxis fout: $");
    case 13:
        return QStringLiteral("Functioe < $ > niet aanwezig?");
    case 14:
        return QStringLiteral("Evaluatie fout < $($) > op positie: $");
    case 15:
        return QStringLiteral("Evaluatie fout < $($") + QLatin1Char(',') +
               QStringLiteral(" $) > op positie: $");
    case 16:
        return QStringLiteral("Evaluatie fout < $ $ $ > op positie: $");
    case 17:
        return QStringLiteral("Evaluatie fout < $($) > op positie: $");
    case 18:
        return QStringLiteral("Variabele < $ > niet toegewezen");
    case 19:
        return QStringLiteral("Onbekende constante: $");
    case 20:
        return QStringLiteral("Teveel opertaies");
    case 21:
        return QStringLiteral("Fout DMS formaat");
    case 22:
        return QStringLiteral("Geen DMS formaat");
    default:
        return QString();
    }
}

} // namespace supplink::mathtables
