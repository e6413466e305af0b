#include "summary_reporter.hpp"

#include <iomanip>

namespace engine::bench {

void SummaryReporter::ReportRuns(std::vector<Run> const& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (Run const& run : runs) {
        bool const median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        bool const single = run.run_type == Run::RT_Iteration;
        if (run.error_occurred || !(median || single)) {
            continue;
        }
        Figures& figures = figures_[run.run_name.function_name];
        // Repeated runs report their median after the single runs; it replaces them.
        if (figures.median && !median) {
            continue;
        }
        double const perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
        figures.elapsed = run.GetAdjustedRealTime() / perSecond;
        figures.cpu = run.GetAdjustedCPUTime() / perSecond;
        auto const apdus = run.counters.find(ApdusCounter);
        figures.apdus = apdus != run.counters.end() ? static_cast<double>(apdus->second) : 0;
        figures.median = median;
    }
}

bool SummaryReporter::printSummary(std::ostream& out) const {
    auto const stack = figures_.find(StackSignature);
    auto const simulator = figures_.find(SimulatorRsa);
    auto const software = figures_.find(SoftwareRsa2048);
    if (stack == figures_.end() || simulator == figures_.end() || software == figures_.end()) {
        out << "summary: the stack, simulator and software benchmarks must all run\n";
        return false;
    }
    auto const row = [&out](char const* name, double elapsed, double cpu, char const* unit) {
        out << "  " << std::left << std::setw(28) << name << std::right << std::setw(10) << elapsed
            << std::setw(10) << cpu << unit << "\n";
    };
    Figures const overhead{stack->second.elapsed - simulator->second.elapsed,
                           stack->second.cpu - simulator->second.cpu};
    out << std::fixed << std::setprecision(1) << "\nPer signature"
        << (stack->second.median ? " (medians)" : "") << ":\n"
        << "  " << std::string(28, ' ') << "   elapsed  CPU time\n";
    for (auto const& [name, figures] : {std::pair{"through the stack", stack->second},
                                        std::pair{"simulator's RSA work", simulator->second},
                                        std::pair{"software RSA-2048", software->second},
                                        std::pair{"stack overhead", overhead}}) {
        row(name, figures.elapsed * 1e6, figures.cpu * 1e6, " us");
    }
    double const elapsedShare = overhead.elapsed / software->second.elapsed;
    double const cpuShare = overhead.cpu / software->second.cpu;
    out << std::setprecision(2);
    row("overhead / software RSA", elapsedShare * 100, cpuShare * 100, " %");
    out << "  budget " << OverheadBudget * 100 << " % of a software RSA-2048 signature: "
        << (elapsedShare < OverheadBudget ? "within" : "over") << " (elapsed), "
        << (cpuShare < OverheadBudget ? "within" : "over") << " (CPU time)\n"
        << std::setprecision(1) << "  APDUs per signature " << stack->second.apdus << "\n";
    return true;
}

}  // namespace engine::bench
