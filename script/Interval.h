// The range a BulletML formula can take when $rand, $rank and parameters vary over theirs.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

// A closed range [lo, hi] of doubles. Arithmetic gives a range that holds every result of
// the operation on members of the operands; whatever can come out infinite or not a number
// widens to the whole line, so "unbounded" is the one answer for every kind of blow-up.
struct Interval {
    double lo = 0.0;
    double hi = 0.0;

    Interval() = default;
    Interval(double lo_, double hi_) : lo(lo_), hi(hi_) {
        if (std::isnan(lo) || std::isnan(hi)) lo = -(hi = std::numeric_limits<double>::infinity());
    }
    explicit Interval(double v) : Interval(v, v) {}

    bool isFinite() const { return std::isfinite(lo) && std::isfinite(hi); }
    double magnitude() const { return std::max(std::fabs(lo), std::fabs(hi)); }
    bool contains(const Interval& o) const { return lo <= o.lo && o.hi <= hi; }
    bool operator==(const Interval& o) const { return lo == o.lo && hi == o.hi; }

    Interval operator-() const { return {-hi, -lo}; }
    Interval operator+(const Interval& o) const { return {lo + o.lo, hi + o.hi}; }
    Interval operator-(const Interval& o) const { return {lo - o.hi, hi - o.lo}; }
    Interval operator*(const Interval& o) const {
        const double p[] = {lo * o.lo, lo * o.hi, hi * o.lo, hi * o.hi};
        for (double v : p)
            if (std::isnan(v)) return {NAN, NAN};
        return {*std::min_element(p, p + 4), *std::max_element(p, p + 4)};
    }
    // A divisor that can be zero can make the quotient anything, infinity included.
    Interval operator/(const Interval& o) const {
        if (o.lo <= 0.0 && o.hi >= 0.0) return {NAN, NAN};
        return *this * Interval(1.0 / o.hi, 1.0 / o.lo);
    }
};
