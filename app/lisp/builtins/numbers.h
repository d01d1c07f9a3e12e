// DefineNumberFunctions(library): numbers beyond + - * / (see arithmetic.h), AutoLISP's rules:
// integers are 32 bits and wrap on overflow; a real taking part makes the result real.
//   (1+ n) (1- n) (abs n)       n plus one, minus one, its absolute value
//   (min n ...) (max n ...)     the smallest / largest (a real when any is real; 0 for none)
//   (rem a b ...)               the remainder of a / b (sign of a), folded from the left
//   (gcd i j)                   the greatest common divisor of two integers
//   (fix n) (float n)           n truncated toward zero as an integer (a real beyond 32 bits) /
//                               n as a real
//   (sqrt n) (exp n) (log n)    reals; sqrt and log of a number they are not defined for fail
//                               with "function undefined for argument: N"
//   (expt base power)           an integer when both are integers (0 for a negative power of
//                               a base other than 1 and -1), else a real
//   (sin a) (cos a)             of an angle in radians
//   (atan y [x])                the angle of y (or of the point x, y) in radians
//   (minusp n) (zerop n) (numberp x)   T when n < 0 / n = 0 / x is a number
//   (~ i) (logand i ...) (logior i ...) (lsh i bits) (boole op i ...)   bits of integers; boole
//                               combines by the truth table op (1 and, 6 xor, 7 or, 8 nor)
//   (angle p1 p2)               the angle of the line p1 to p2 from the x axis, 0 ... 2 pi
//   (distance p1 p2)            between two points (in 3D when both have a z)
//   (polar p angle dist)        the point dist from p at angle
//   (inters p1 p2 p3 p4 [onseg])  where the line p1 p2 meets the line p3 p4 (in the xy plane),
//                               nil when parallel or, with onseg not nil (the default),
//                               outside either segment
// A number argument that is not one fails with "bad argument type: numberp: X", an integer one
// with "bad argument type: fixnump: X", a point with "bad argument type: 2D/3D point: X".
// The variable PI holds pi (the evaluator sets it).
#pragma once

#include "app/lisp/builtins/library.h"

namespace kafcad {

void DefineNumberFunctions(BuiltinLibrary& library);

}  // namespace kafcad
