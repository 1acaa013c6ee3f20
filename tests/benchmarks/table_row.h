#pragma once

#include <cstdio>
#include <optional>
#include <string>

// The benchmark programs' finished rows of the two markdown tables scripts/benchmarks.sh prints
// (it adds the headers): each figure with its target and whether it is met, so that every
// program judges the same way.
namespace omra::benchmark {

// A bound a figure should stay within, or none.
class Target {
public:
    static Target none() { return Target(Kind::None, 0); }
    static Target atLeast(double bound) { return Target(Kind::AtLeast, bound); }
    static Target atMost(double bound) { return Target(Kind::AtMost, bound); }

    // "met" or "MISSED", or "-" without a bound or a figure.
    const char* verdict(std::optional<double> figure) const {
        if (kind_ == Kind::None || !figure) {
            return "-";
        }
        const bool met = kind_ == Kind::AtLeast ? *figure >= bound_ : *figure <= bound_;
        return met ? "met" : "MISSED";
    }

    // ">= 2", "<= 16.7" or "-", with `suffix` after the bound.
    std::string text(const char* suffix = "") const {
        if (kind_ == Kind::None) {
            return "-";
        }
        char text[64];
        std::snprintf(text, sizeof text, "%s %g%s", kind_ == Kind::AtLeast ? ">=" : "<=", bound_,
                      suffix);
        return text;
    }

private:
    enum class Kind { None, AtLeast, AtMost };
    Target(Kind kind, double bound) : kind_(kind), bound_(bound) {}
    Kind kind_;
    double bound_;
};

// The figure in `format`, or "-".
inline std::string formatFigure(std::optional<double> figure, const char* format) {
    if (!figure) {
        return "-";
    }
    char text[64];
    std::snprintf(text, sizeof text, format, *figure);
    return text;
}

// A row of the figures table: | label | figure unit | target | verdict |, "-" for a figure
// that was not measured.
inline void printFigureRow(const std::string& label, std::optional<double> figure, const char* unit,
                           Target target) {
    std::printf("| %-52s | %10s %-6s | %-10s | %-6s |\n", label.c_str(),
                formatFigure(figure, "%.2f").c_str(), unit, target.text().c_str(),
                target.verdict(figure));
    std::fflush(stdout);
}

// A row of the player's table: our speed beside the peer's, in seconds of music a second, and
// their ratio against the target of twice the peer's. `peer` names the peer the row compares
// with, or says why there is no figure of it.
inline void printSpeedRow(const std::string& label, double ours, const std::string& peer,
                          std::optional<double> peerSpeed) {
    const Target target = Target::atLeast(2);
    const std::optional<double> ratio =
        peerSpeed ? std::optional<double>(ours / *peerSpeed) : std::nullopt;
    std::printf("| %-52s | %11s | %-20s | %11s | %8s | %-14s | %-6s |\n", label.c_str(),
                formatFigure(ours, "%.1f x").c_str(), peer.c_str(),
                formatFigure(peerSpeed, "%.1f x").c_str(), formatFigure(ratio, "%.2f x").c_str(),
                target.text("x the peer").c_str(), target.verdict(ratio));
    std::fflush(stdout);
}

} // namespace omra::benchmark
