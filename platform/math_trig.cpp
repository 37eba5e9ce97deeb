// Our own sine, cosine and arc functions, so that the battle turns robots by the same bits on
// every machine: only IEEE +, -, *, / and sqrt are used (all exactly rounded), never libm's
// transcendental functions, whose last bits differ between library versions.
#include "math_ops.h"

#include <cmath>

namespace {

// pi / 2 split so that n * kPio2a is exact for the angles a game uses (|n| below 2^20).
constexpr double kPio2a = 1.57079632673412561417e+00;
constexpr double kPio2b = 6.07710050630396597660e-11;
constexpr double kPio2c = 2.02226624879595063368e-21;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
constexpr double kPio2 = 1.57079632679489661923;
constexpr double kPiD = 3.14159265358979323846;
constexpr double kPio6 = 5.23598775598298873077e-01;
constexpr double kSqrt3 = 1.73205080756887729353;
constexpr double kTanPio12 = 2.67949192431122706473e-01;  // 2 - sqrt(3)

// Taylor terms (-1)^k / (2k+1)! and (-1)^k / (2k)!, enough for |r| <= pi/4 to full precision.
constexpr int kTerms = 11;
constexpr double SinCoef(int k) {
    double f = 1.0;
    for (int i = 2; i <= 2 * k + 1; ++i) f *= i;
    return (k % 2 ? -1.0 : 1.0) / f;
}
constexpr double CosCoef(int k) {
    double f = 1.0;
    for (int i = 2; i <= 2 * k; ++i) f *= i;
    return (k % 2 ? -1.0 : 1.0) / f;
}

// The terms as tables worked out by the compiler, which rounds each step as the machine does:
// the same values as working them out at every call, without the cost.
template <double (*Coef)(int)>
constexpr auto CoefTable() {
    struct {
        double c[kTerms];
    } t{};
    for (int k = 0; k < kTerms; ++k) t.c[k] = Coef(k);
    return t;
}
constexpr auto kSinCoefs = CoefTable<SinCoef>();
constexpr auto kCosCoefs = CoefTable<CosCoef>();

double KernelSin(double r) {
    double r2 = r * r, p = 0.0;
    for (int k = kTerms - 1; k >= 0; --k) p = p * r2 + kSinCoefs.c[k];
    return r * p;
}

double KernelCos(double r) {
    double r2 = r * r, p = 0.0;
    for (int k = kTerms - 1; k >= 0; --k) p = p * r2 + kCosCoefs.c[k];
    return p;
}

// x = n * pi/2 + r with |r| <= pi/4; returns n mod 4.
int Reduce(double x, double* r) {
    double n = std::floor(x * kTwoOverPi + 0.5);
    *r = ((x - n * kPio2a) - n * kPio2b) - n * kPio2c;
    double q = n - 4.0 * std::floor(n * 0.25);
    return static_cast<int>(q);
}

// atan for 0 <= x <= 2 - sqrt(3), by its alternating series.
constexpr int kAtanTerms = 16;
constexpr auto kAtanCoefs = [] {
    struct {
        double c[kAtanTerms];
    } t{};
    for (int k = 0; k < kAtanTerms; ++k) t.c[k] = (k % 2 ? -1.0 : 1.0) / (2 * k + 1);
    return t;
}();

double KernelAtan(double x) {
    double x2 = x * x, p = 0.0;
    for (int k = kAtanTerms - 1; k >= 0; --k) p = p * x2 + kAtanCoefs.c[k];
    return x * p;
}

}  // namespace

double MathSin(double x) {
    if (!std::isfinite(x)) return x - x;
    double r;
    switch (Reduce(x, &r)) {
    case 0: return KernelSin(r);
    case 1: return KernelCos(r);
    case 2: return -KernelSin(r);
    default: return -KernelCos(r);
    }
}

double MathCos(double x) {
    if (!std::isfinite(x)) return x - x;
    double r;
    switch (Reduce(x, &r)) {
    case 0: return KernelCos(r);
    case 1: return -KernelSin(r);
    case 2: return -KernelCos(r);
    default: return KernelSin(r);
    }
}

double MathTan(double x) {
    double c = MathCos(x);
    return MathSin(x) / c;
}

// atan for 0 <= a (infinity included): fold above 1, then shift by pi/6 into the series' range.
static double AtanPositive(double a) {
    if (a > 1.0) return kPio2 - AtanPositive(1.0 / a);
    if (a > kTanPio12) return kPio6 + KernelAtan((a * kSqrt3 - 1.0) / (kSqrt3 + a));
    return KernelAtan(a);
}

double MathAtan(double x) {
    if (std::isnan(x)) return x;
    return x < 0 ? -AtanPositive(-x) : AtanPositive(x);
}

double MathAtan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) return x + y;
    if (x > 0) return MathAtan(y / x);
    if (x < 0) return y >= 0 ? MathAtan(y / x) + kPiD : MathAtan(y / x) - kPiD;
    if (y > 0) return kPio2;
    if (y < 0) return -kPio2;
    return 0.0;
}

static double Clamp1(double x) { return x < -1.0 ? -1.0 : (x > 1.0 ? 1.0 : x); }

double MathAcos(double x) {
    if (std::isnan(x)) return x;
    x = Clamp1(x);
    return MathAtan2(std::sqrt((1.0 - x) * (1.0 + x)), x);
}

double MathAsin(double x) {
    if (std::isnan(x)) return x;
    x = Clamp1(x);
    return MathAtan2(x, std::sqrt((1.0 - x) * (1.0 + x)));
}

double MathSqrt(double x) { return x > 0 ? std::sqrt(x) : (std::isnan(x) ? x : 0.0); }

float SinF(float x) { return static_cast<float>(MathSin(x)); }
float CosF(float x) { return static_cast<float>(MathCos(x)); }
float TanF(float x) { return static_cast<float>(MathTan(x)); }
float AtanF(float x) { return static_cast<float>(MathAtan(x)); }
float Atan2F(float y, float x) { return static_cast<float>(MathAtan2(y, x)); }
float AcosF(float x) { return static_cast<float>(MathAcos(x)); }
float AsinF(float x) { return static_cast<float>(MathAsin(x)); }
float SqrtF(float x) { return x > 0 ? std::sqrt(x) : (x != x ? x : 0.0f); }
