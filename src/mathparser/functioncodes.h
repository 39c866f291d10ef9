#pragma once

// Function codes of the expression evaluator. The parser turns every operator and function
// name into one of these codes; the evaluation loop dispatches on them. The special-function
// codes are handed to evalSpecialFunction (specialdispatch.h) with the evaluated arguments.

namespace supplink::mathfn {

enum Code : int
{
    Unknown = -1,
    AtRight = -2, // internal "@Right": returns its second argument

    // operators
    Plus = 0,
    Minus = 1,
    Times = 2,
    Divide = 3,
    Percent = 4,
    IntDivide = 5,
    Power = 6,

    // functions of one argument computed in the loop
    Abs = 7,
    Atn = 8,
    Cos = 9,
    Sin = 11,
    Exp = 12,
    Fix = 13,
    Int = 14,
    Ln = 15,
    Log = 16,
    Rnd = 17,
    Sgn = 18,
    Sqr = 19,
    Tan = 20,
    Acos = 21,
    Asin = 22,
    Cosh = 23,
    Sinh = 24,
    Tanh = 25,
    Acosh = 26,
    Asinh = 27,
    Atanh = 28,
    Mod = 29,
    Fact = 30,
    Comb = 31,
    Min = 32,
    Max = 33,
    Gcd = 34,
    Lcm = 35,

    // comparisons and logic
    Greater = 36,
    GreaterEqual = 37,
    Less = 38,
    LessEqual = 39,
    Equal = 40,
    NotEqual = 41,
    And = 42,
    Or = 43,
    Not = 44,
    Xor = 45,

    // special functions (one and two arguments)
    Erf = 46,
    Gamma = 47,
    Gammaln = 48,
    Digamma = 49, // also "psi"
    Beta = 50,
    Zeta = 51,
    Ei = 52,

    Csc = 53,
    Sec = 54,
    Cot = 55,
    Acsc = 56,
    Asec = 57,
    Acot = 58,
    Csch = 59,
    Sech = 60,
    Coth = 61,
    Acsch = 62,
    Asech = 63,
    Acoth = 64,
    Cbr = 65,
    Root = 66,
    Dec = 67,
    Rad = 68,
    Deg = 69,
    Round = 70,
    Grad = 71,
    Nand = 72,
    Nor = 73,
    NXor = 74,
    Neg = 75,
    Perm = 76,
    LogN = 77,
    DPoisson = 78,
    CPoisson = 79,

    Ein = 80,
    Si = 81,
    Ci = 82,
    FresnelS = 83,
    FresnelC = 84,
    BesselJ = 85,
    BesselY = 86,
    BesselI = 87,
    BesselK = 88,
    J0 = 89,
    Y0 = 90,
    K0 = 91,
    I0 = 92,
    GammaI = 94,
    PolyLe = 95,
    PolyLa = 96,
    PolyHe = 97,
    PolyCh = 98,
    AiryA = 99,
    AiryB = 100,
    Elli1 = 101,
    Elli2 = 102,
    WTri = 103,
    WSqr = 104,
    WSaw = 105,
    WRaise = 106,
    WParab = 107,

    // date parts of a date serial number
    Year = 150,
    Month = 151,
    Day = 152,
    Hour = 153,
    Minute = 154,
    Second = 155,

    // functions of three and four arguments
    DNorm = 201,
    CNorm = 202,
    DBinom = 203,
    CBinom = 204,
    HypGeom = 205,
    BetaI = 206,
    Clip = 207,
    WRect = 208,
    WTrapez = 209,
    WLin = 210,
    WPulse = 211,
    WSteps = 212,
    WExp = 213,
    WExpB = 214,
    WPulseF = 215,
    WRipple = 216,
    WRing = 217,
    WAm = 218,
    WFm = 219,

    DateSerial = 306,
    TimeSerial = 307,
};

// True for the codes whose value comes from the special-function library: the gamma family,
// error function, zeta, exponential integrals, Bessel functions and integrals, orthogonal
// polynomials, periodic signals, hypergeometric, incomplete gamma and beta, Airy and elliptic.
constexpr bool isSpecialFunction(int code)
{
    return (code >= Erf && code <= Ei) || (code >= Ein && code <= I0) || (code >= GammaI && code <= WParab) ||
           code == HypGeom || code == BetaI || (code >= WRect && code <= WFm);
}

} // namespace supplink::mathfn
