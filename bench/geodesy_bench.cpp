// The cost of one point through the chain, against the floor set by the
// elementary functions it has to call.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "geodesy/constants.h"
#include "geodesy/geocentric.h"
#include "geodesy/plane_to_sphere.h"
#include "geodesy/sphere_to_ellipsoid.h"
#include "geodesy/transform.h"
#include "territory_points.h"

namespace geochain::bench {
namespace {

void BM_transform_point(benchmark::State& state) {
    const std::vector<PlanePoint> points = territory_points();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(transform_point(points[i]));
        i = (i + 1) % points.size();
    }
}
BENCHMARK(BM_transform_point);

// The arguments of every elementary function call one transform_point makes,
// recorded from the real stages so that the baseline pays for exactly the
// same calls on exactly the same values.
// The projection's own constants (sin s0, the pole's cos and sin) are
// values of the record, not calls.
struct CallArguments {
    double sqrt_polar, atan_polar;
    double pow_w_base, pow_w_exp, atan_q;
    double sin_S, cos_S, cos_D, asin_U, cos_U, sin_D, asin_dV;
    double dU;
    double sin_f, sqrt_N, cos_f, cos_l, sin_l;
};

CallArguments record_arguments(PlanePoint p) {
    CallArguments a{};
    const PolarCoords polar = to_polar(p);
    const KrovakProjection& k = KROVAK;
    const CartographicCoords c = to_cartographic(polar, k);
    const SphericalCoords s = to_spherical(c, k);
    const GeographicCoords g = to_geographic(s, k);
    const double w = k.t0_pow_n * (k.rho0 / polar.ro);
    const double f = g.fi / DEG_PER_RAD;
    a.sqrt_polar = p.X * p.X + p.Y * p.Y;
    a.atan_polar = p.Y / p.X;
    a.pow_w_base = w;
    a.pow_w_exp = k.inv_n;
    a.atan_q = std::pow(w, k.inv_n);
    a.sin_S = c.S;
    a.cos_S = c.S;
    a.cos_D = c.D;
    a.asin_U = std::sin(s.U);
    a.cos_U = s.U;
    a.sin_D = c.D;
    a.asin_dV = (1.0 / std::cos(s.U)) * (std::cos(c.S) * std::sin(c.D));
    a.dU = s.U - k.u0_deg / DEG_PER_RAD;
    a.sin_f = f;
    a.sqrt_N = 1.0 - std::sin(f) * (std::sin(f) * BESSEL.e2);
    a.cos_f = f;
    a.cos_l = g.lambda / DEG_PER_RAD;
    a.sin_l = a.cos_l;
    return a;
}

void BM_elementary_function_baseline(benchmark::State& state) {
    std::vector<CallArguments> calls;
    for (const PlanePoint& p : territory_points()) {
        calls.push_back(record_arguments(p));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const CallArguments& a = calls[i];
        benchmark::DoNotOptimize(std::sqrt(a.sqrt_polar));
        benchmark::DoNotOptimize(std::atan(a.atan_polar));
        benchmark::DoNotOptimize(std::pow(a.pow_w_base, a.pow_w_exp));
        benchmark::DoNotOptimize(std::atan(a.atan_q));
        benchmark::DoNotOptimize(std::sin(a.sin_S));
        benchmark::DoNotOptimize(std::cos(a.cos_S));
        benchmark::DoNotOptimize(std::cos(a.cos_D));
        benchmark::DoNotOptimize(std::asin(a.asin_U));
        benchmark::DoNotOptimize(std::cos(a.cos_U));
        benchmark::DoNotOptimize(std::cos(a.cos_S));
        benchmark::DoNotOptimize(std::sin(a.sin_D));
        benchmark::DoNotOptimize(std::asin(a.asin_dV));
        benchmark::DoNotOptimize(std::pow(a.dU, 2));
        benchmark::DoNotOptimize(std::pow(a.dU, 3));
        benchmark::DoNotOptimize(std::pow(a.dU, 4));
        benchmark::DoNotOptimize(std::sin(a.sin_f));
        benchmark::DoNotOptimize(std::sqrt(a.sqrt_N));
        benchmark::DoNotOptimize(std::cos(a.cos_f));
        benchmark::DoNotOptimize(std::cos(a.cos_l));
        benchmark::DoNotOptimize(std::sin(a.sin_l));
        i = (i + 1) % calls.size();
    }
}
BENCHMARK(BM_elementary_function_baseline);

}  // namespace
}  // namespace geochain::bench
