#pragma once

#include <QString>

namespace supplink {

// Computes one special function for the expression evaluator.
//
// functionId is the evaluator's function code (supplink::mathfn::Code, functioncodes.h): one of
// the codes for which mathfn::isSpecialFunction() is true. args holds the argCount evaluated
// arguments in the order written in the expression (a one-argument name such as "j0" passes one
// argument, "besselj" two). The arguments arrive unchecked and unconverted: refusing them,
// rounding orders to whole numbers, turning the elliptic angle from radians into degrees and
// choosing which of a routine's results a name returns is done here.
//
// The evaluator also calls it for its own distribution functions: Erf with one argument for
// "cnorm" and Gammaln with one argument for "dpoisson" and "cpoisson".
//
// Returns true with the value in result. Returns false when the function cannot give a value
// (refused argument, domain fault, warning of the routine); the evaluator then reports its
// evaluation error for the call. errorText may explain why; the evaluator does not show it.
bool evalSpecialFunction(int functionId, const double* args, int argCount, double& result,
                         QString& errorText);

} // namespace supplink
