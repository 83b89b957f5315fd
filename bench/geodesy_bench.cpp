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
struct CallArguments {
    double sqrt_polar, atan_polar;
    double sin_s0, tan_t, pow_t_base, pow_t_exp, pow_w_base, pow_w_exp, atan_q;
    double cos_a, sin_S, sin_a, cos_S, cos_D, asin_U, cos_U, sin_D, asin_dV;
    double dU;
    double sin_f, sqrt_N, cos_f, cos_l, sin_l;
};

CallArguments record_arguments(PlanePoint p) {
    CallArguments a{};
    const PolarCoords polar = to_polar(p);
    const CartographicCoords c = to_cartographic(polar);
    const SphericalCoords s = to_spherical(c);
    const GeographicCoords g = to_geographic(s);
    const double s0 = S0_DEG / DEG_PER_RAD;
    const double n = std::sin(s0);
    const double t = std::tan(s0 * 0.5 + QUARTER_PI);
    const double w = std::pow(t, n) * (RHO0 / polar.ro);
    const double pole = POLE_COLAT_DEG / DEG_PER_RAD;
    const double f = g.fi / DEG_PER_RAD;
    a.sqrt_polar = p.X * p.X + p.Y * p.Y;
    a.atan_polar = p.Y / p.X;
    a.sin_s0 = s0;
    a.tan_t = s0 * 0.5 + QUARTER_PI;
    a.pow_t_base = t;
    a.pow_t_exp = n;
    a.pow_w_base = w;
    a.pow_w_exp = 1.0 / n;
    a.atan_q = std::pow(w, 1.0 / n);
    a.cos_a = pole;
    a.sin_S = c.S;
    a.sin_a = pole;
    a.cos_S = c.S;
    a.cos_D = c.D;
    a.asin_U = std::sin(s.U);
    a.cos_U = s.U;
    a.sin_D = c.D;
    a.asin_dV = (1.0 / std::cos(s.U)) * (std::cos(c.S) * std::sin(c.D));
    a.dU = s.U - U0_DEG / DEG_PER_RAD;
    a.sin_f = f;
    a.sqrt_N = 1.0 - std::sin(f) * (std::sin(f) * BESSEL_E2);
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
        benchmark::DoNotOptimize(std::sin(a.sin_s0));
        benchmark::DoNotOptimize(std::tan(a.tan_t));
        benchmark::DoNotOptimize(std::pow(a.pow_t_base, a.pow_t_exp));
        benchmark::DoNotOptimize(std::pow(a.pow_w_base, a.pow_w_exp));
        benchmark::DoNotOptimize(std::atan(a.atan_q));
        benchmark::DoNotOptimize(std::cos(a.cos_a));
        benchmark::DoNotOptimize(std::sin(a.sin_S));
        benchmark::DoNotOptimize(std::sin(a.sin_a));
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
