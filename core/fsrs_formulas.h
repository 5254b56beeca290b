#pragma once

// The FSRS-6 formulas, written once for any number type: plain doubles for scheduling,
// and numbers that carry their derivatives for the optimiser. `W` is an indexable set of
// 21 parameters of type T. Only fsrs.cpp and fsrs_optimizer.cpp include this.

#include <algorithm>
#include <cmath>

namespace fsrs_formulas {

inline constexpr double kMinStability = 0.001;
inline constexpr double kMaxStability = 36500;
inline constexpr double kMinDifficulty = 1;
inline constexpr double kMaxDifficulty = 10;

inline double clampValue(double x, double low, double high) {
    return std::clamp(x, low, high);
}
inline double minValue(double a, double b) {
    return a < b ? a : b;
}
inline double maxValue(double a, double b) {
    return a > b ? a : b;
}

template <class T>
struct State {
    T stability;
    T difficulty;
};

// The model for one set of parameters `W` (21 values of type T), with the quantities that
// depend on the parameters alone worked out once rather than at every review.
template <class T, class W>
struct Model {
    W w;
    T decay;     // -w20
    T factor;    // 0.9^(1/decay) - 1: recall is exactly 90 % after `stability` days
    T expW8;     // e^w8
    T easyD0;    // the initial difficulty of an Easy card, where difficulty reverts to
    T lapseCap;  // e^(w17 w18): a lapse leaves at most stability / this

    explicit Model(const W& weights) : w(weights) {
        using std::exp;
        decay = -w[20];
        factor = exp(std::log(0.9) / decay) - 1.0;
        expW8 = exp(w[8]);
        easyD0 = initialDifficulty(4);
        lapseCap = exp(w[17] * w[18]);
    }

    T initialDifficulty(int rating) const {
        using std::exp;
        return w[4] - exp(w[5] * double(rating - 1)) + 1.0;
    }

    // Recall after `elapsed` days: the power curve (1 + factor * t / S)^(-w20).
    T retrievability(const T& stability, double elapsed) const {
        using std::pow;
        return pow(factor * (elapsed / stability) + 1.0, decay);
    }

    State<T> initialState(int rating) const {
        return {clampValue(T(w[rating - 1]), kMinStability, kMaxStability),
                clampValue(initialDifficulty(rating), kMinDifficulty, kMaxDifficulty)};
    }

    State<T> nextState(const State<T>& state, double elapsed, int rating) const {
        using std::exp;
        using std::pow;
        const T s = clampValue(state.stability, kMinStability, kMaxStability);
        const T d = clampValue(state.difficulty, kMinDifficulty, kMaxDifficulty);
        T newS = s;
        if (elapsed == 0) {
            // Same-day review: a factor that shrinks for larger stability; a pass (Hard or
            // better) never lowers it.
            T increase = exp(w[17] * (double(rating - 3) + w[18])) * pow(s, -w[19]);
            if (rating >= 2) {
                increase = maxValue(increase, 1.0);
            }
            newS = s * increase;
        } else {
            const T r = retrievability(s, elapsed);
            if (rating == 1) {
                const T lapse =
                    w[11] * pow(d, -w[12]) * (pow(s + 1.0, w[13]) - 1.0) * exp((1.0 - r) * w[14]);
                // Never more than the stability a same-day Again would leave.
                newS = minValue(lapse, s / lapseCap);
            } else {
                T growth = expW8 * (11.0 - d) * pow(s, -w[9]) * (exp((1.0 - r) * w[10]) - 1.0);
                if (rating == 2) {
                    growth = growth * w[15];
                } else if (rating == 4) {
                    growth = growth * w[16];
                }
                newS = s * (growth + 1.0);
            }
        }
        const T delta = -w[6] * double(rating - 3);
        const T damped = d + (10.0 - d) * delta / 9.0;
        const T reverted = w[7] * (easyD0 - damped) + damped;
        return {clampValue(newS, kMinStability, kMaxStability),
                clampValue(reverted, kMinDifficulty, kMaxDifficulty)};
    }
};

}  // namespace fsrs_formulas
