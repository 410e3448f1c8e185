// tavoquery_expected outdir rulebase...: what the core answers for each rule base on a grid of
// inputs, for the Octave tests to compare the extension with. Writes outdir/manifest.txt, one
// line "name loads agrees inputs" per rule base, and outdir/name.txt, one row per grid point:
// the inputs, the crisp output and the numbers of the first three fired rules (0 past the last).
//
// loads: whether the server's older reader accepts the file (six inference methods, no gaussian
// user terms). agrees: whether the server computes what the core does; it smooths with another
// grid, and gives Takagi-Sugeno descriptions no defined result.
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "core/inference/MethodTables.h"
#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"
#include "core/text/ESyntax.h"

namespace {

constexpr int kReportedFiredRules = 3;

bool ServerReads(const std::string& fileName) {
    static constexpr std::array<InferenceMethodRecord, 6> kServerMethods = {
        InferenceMethodTable[0], InferenceMethodTable[1], InferenceMethodTable[2],
        InferenceMethodTable[3], InferenceMethodTable[6], InferenceMethodTable[7]};
    RuleBaseReaderOptions options;
    options.inferenceMethods = kServerMethods;
    options.userTermShapes = std::span(kShapeNames).first(3);
    options.readsFilterSwitch = false;
    try {
        ReadRuleBaseFile(fileName, options);
        return true;
    } catch (const ESyntax&) {
        return false;
    }
}

bool ServerAgrees(const CRuleBase& ruleBase) {
    const auto smooth = FindMethodByName(DefuzzificationMethodTable, "Smooth Deffuz Ling Expr");
    return ruleBase.GetTypeOfDescription() != CRuleBase::kTakagiSugeno &&
           ruleBase.GetDefuzzificationMethod() != smooth->Routine;
}

// The k-th fired rule, counted from 1, as the server's FiredRule answers it.
int FiredRule(const CRuleBase& ruleBase, int k) {
    if (k > ruleBase.GetFiredCount())
        return 0;
    const auto fired = ruleBase.GetFiredFlags();
    for (int r = 0, seen = 0; r < static_cast<int>(fired.size()); ++r) {
        if (fired[r] != 0 && ++seen == k)
            return r + 1;
    }
    return 0;
}

// Every input on the same number of points, ends included; about a hundred points in all.
void WriteGrid(CRuleBase& ruleBase, std::ofstream& out) {
    const int n = ruleBase.GetNumAntVariables();
    const int points = n <= 1 ? 41 : n == 2 ? 9 : 5;
    std::vector<int> position(n, 0);
    std::vector<double> inputs(n);
    for (bool more = n > 0; more;) {
        for (int i = 0; i < n; ++i) {
            const double lo = ruleBase.GetLowerBound(i);
            const double hi = ruleBase.GetUpperBound(i);
            inputs[i] = lo + position[i] * (hi - lo) / (points - 1);
        }
        double output = std::nan("");
        try {
            output = ruleBase.CrispOutput(inputs);
        } catch (const std::exception&) {
            // Left NaN: a kind without a defined result.
        }
        for (double x : inputs)
            out << x << ' ';
        out << output;
        for (int k = 1; k <= kReportedFiredRules; ++k)
            out << ' ' << FiredRule(ruleBase, k);
        out << '\n';
        more = false;
        for (int i = 0; i < n && !more; ++i) {
            more = ++position[i] < points;
            if (!more)
                position[i] = 0;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: tavoquery_expected outdir rulebase...\n", stderr);
        return 1;
    }
    try {
        const std::filesystem::path outdir = argv[1];
        std::filesystem::create_directories(outdir);
        std::ofstream manifest(outdir / "manifest.txt");
        for (int a = 2; a < argc; ++a) {
            const std::string fileName = argv[a];
            const std::string name = std::filesystem::path(fileName).stem().string();
            CRuleBase ruleBase(fileName);
            const bool loads = ServerReads(fileName);
            manifest << name << ' ' << loads << ' ' << (loads && ServerAgrees(ruleBase)) << ' '
                     << ruleBase.GetNumAntVariables() << '\n';
            std::ofstream table(outdir / (name + ".txt"));
            table.precision(17);
            WriteGrid(ruleBase, table);
            if (!table)
                throw std::runtime_error("cannot write " + name + ".txt");
        }
        if (!manifest)
            throw std::runtime_error("cannot write the manifest");
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tavoquery_expected: %s\n", error.what());
        return 1;
    }
}
