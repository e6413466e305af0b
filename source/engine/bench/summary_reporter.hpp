#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace engine::bench {

// The benchmarks the summary sets against each other.
constexpr char const* StackSignature = "stack_signature";
constexpr char const* SimulatorRsa = "simulator_rsa";
constexpr char const* SoftwareRsa2048 = "software_rsa_2048";
// Counter of the stack benchmark: APDUs the card answered, per signature.
constexpr char const* ApdusCounter = "apdus";

// The share of a software RSA-2048 signature that the stack may add to a card signature.
constexpr double OverheadBudget = 0.02;

// The console report, keeping each benchmark's time per signature (the median when runs are
// repeated) for the summary that needs all of them. The time is given twice: as elapsed time,
// and as the CPU time of the whole process, which leaves out the waits for the worker threads
// that the card service replies on.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(std::vector<Run> const& runs) override;

    // The three times, the stack's overhead per signature (stack minus simulator), that
    // overhead as a share of a software RSA-2048 signature, and the APDUs per signature.
    // False when a benchmark did not run.
    bool printSummary(std::ostream& out) const;

private:
    struct Figures {
        double elapsed = 0;
        double cpu = 0;
        double apdus = 0;
        bool median = false;
    };

    std::map<std::string, Figures> figures_;
};

}  // namespace engine::bench
