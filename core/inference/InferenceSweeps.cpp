#include "core/inference/InferenceSweeps.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

#include "core/defuzz/DefuzzificationMethods.h"
#include "core/defuzz/EnvelopeShapes.h"
#include "core/inference/CompiledRules.h"
#include "core/inference/CrispInference.h"
#include "core/inference/InferenceScratch.h"
#include "core/inference/SelectionMemo.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "core/sets/CFuzzyTriangSet.h"

namespace {

// Points per block of a streamed grid: at most two blocks of doubles, 2 MB, are held at a time,
// and a grid gets at least a few blocks so that consuming one overlaps computing the next.
constexpr std::size_t kBlockPoints = std::size_t{1} << 17;
constexpr std::size_t kSmallestBlock = 4096;
// The fewest points a worker takes at a time.
constexpr std::size_t kSmallestChunk = 16;

std::size_t BlockFor(std::size_t total) {
    return std::min(total, std::clamp(total / 8, kSmallestBlock, kBlockPoints));
}

// What a sweep takes at each point: the crisp output, or the smooth method's simple linguistic
// value of the inferred set.
enum class PointValue { kCrispOutput, kSimpleLinguistic };

// One input's window of the smooth method: its grid points and their triangle weights.
struct SmoothWindow {
    std::vector<double> points;
    std::vector<double> weights;
};

// The points walk from the window's start in steps until a step would pass its end; a step that
// makes no progress (none, or lost in the rounding of a far-off context) ends the window.
void FillSmoothWindow(double lo, double hi, double x, double gridDivisions, double stepShare,
                      SmoothWindow& window) {
    const double halfWidth = (hi - lo) / 10;
    const double step = 2 * halfWidth * stepShare / gridDivisions;
    double from = x - halfWidth;
    if (from < lo)
        from = lo;
    double to = x + halfWidth;
    if (to > hi)
        to = hi;
    const CFuzzyTriangSet triangle(from, x, to, lo, hi);
    window.points.clear();
    window.weights.clear();
    for (double point = from;;) {
        window.points.push_back(point);
        window.weights.push_back(triangle.Membership(point));
        const double next = point + step;
        if (!(next > point && next <= to))
            break;
        point = next;
    }
}

// The product of the weights at one grid point, input 0 first.
double WeightAt(std::span<const SmoothWindow> windows, const int* index) {
    double weight = 1.0;
    for (std::size_t i = 0; i < windows.size(); ++i)
        weight *= windows[i].weights[index[i]];
    return weight;
}

// Advances index like an odometer, input 0 fastest; false after the last point.
bool Advance(std::span<const std::vector<double>> axes, int* index) {
    for (std::size_t i = 0; i < axes.size(); ++i) {
        if (++index[i] < static_cast<int>(axes[i].size()))
            return true;
        index[i] = 0;
    }
    return false;
}

double SimpleLinguisticOf(const InferenceResult& inferred, const DefuzzificationGrid& output) {
    return inferred.set ? SimpleLinguisticSetValue(*inferred.set, output) : inferred.value;
}

// Everything the workers read, fixed for the length of a sweep.
struct SweepModel {
    const CompiledRules* rules = nullptr;
    CrispMethod method = CrispMethod::kZadehMinimum;
    int antecedents = 0;
    TypeOfDescription kind = CRuleBase::kLinguistic;
    DefuzzificationGrid output{};
    double midpoint = 0.0;
    // The crisp output of a set; null for the smooth method, whose windows follow.
    SampleDefuzzifier defuzzify = nullptr;
    double smoothDivisions = 0.0;
    std::vector<double> inputLo;
    std::vector<double> inputHi;
    // Zadeh methods: [distinct consequent] its shape on the output grid, from which the simple
    // linguistic value of most points follows without the samples.
    SetKernel zadehKernel = SetKernel::kZadehMinimum;
    std::vector<PeakedRun> consequentShapes;

    bool MakesSet() const { return method != CrispMethod::kLinearCombination; }
};

// The model of a sweep of the rule base, checked as its routines check it; none when a routine is
// not one of the tables' (it then runs through the rule base).
std::optional<SweepModel> FastModelOf(CRuleBase& ruleBase, PointValue value) {
    const auto method = CrispMethodOf(ruleBase.GetInferenceMethod());
    if (!method)
        return std::nullopt;
    SweepModel model;
    model.method = *method;
    model.antecedents = ruleBase.GetNumAntVariables();
    model.kind = ruleBase.GetTypeOfDescription();
    if (ruleBase.GetNumSucVariables() == 0)
        throw std::invalid_argument("the rule base has no output variable");
    if (model.MakesSet()) {
        if (ruleBase.GetDiscretization(-1) < 1)
            throw std::invalid_argument("the output variable has no grid");
        model.output = DefuzzificationGridOf(ruleBase, 0);
        if (value == PointValue::kCrispOutput) {
            const DefuzzificationRoutine routine = ruleBase.GetDefuzzificationMethod();
            model.defuzzify = SampleDefuzzifierOf(routine);
            if (model.defuzzify == nullptr) {
                if (routine != SmoothDeffuzLingExpr)
                    return std::nullopt;
                model.smoothDivisions = ruleBase.GetProjectionSteps() * 8.0 / 10.0;
                for (int i = 0; i < model.antecedents; ++i) {
                    model.inputLo.push_back(ruleBase.GetLowerBound(i));
                    model.inputHi.push_back(ruleBase.GetUpperBound(i));
                }
            }
        }
    } else {
        model.midpoint = (ruleBase.GetLowerBound(-1) + ruleBase.GetUpperBound(-1)) * 0.5;
    }
    model.rules = &ruleBase.GetCompiledRules();
    const bool simpleLinguistic =
        value == PointValue::kSimpleLinguistic || (model.MakesSet() && model.defuzzify == nullptr);
    if (simpleLinguistic && model.MakesSet() && IsZadehMethod(model.method)) {
        model.zadehKernel = ZadehKernelOf(model.method);
        for (const SampleRun& run : model.rules->distinctConsequentRuns)
            model.consequentShapes.push_back(PeakedRunOf(run, model.output.samples));
    }
    return model;
}

// The degrees of antecedent a's distinct cells at each value of its axis, value after value.
void FillAxisDegrees(const CompiledRules& rules, int a, std::span<const double> values,
                     std::vector<double>& table) {
    const int first = rules.firstCellOf[a];
    const int cells = rules.firstCellOf[a + 1] - first;
    table.resize(values.size() * cells);
    for (std::size_t k = 0; k < values.size(); ++k)
        AntecedentCellDegrees(rules, a, values[k], table.data() + k * cells - first);
}

// Loads antecedent a's degrees at value k of its axis.
void LoadAxisDegrees(const CompiledRules& rules, int a, const std::vector<double>& table, int k,
                     double* degrees) {
    const int first = rules.firstCellOf[a];
    const int cells = rules.firstCellOf[a + 1] - first;
    std::copy_n(table.data() + static_cast<std::size_t>(k) * cells, cells, degrees + first);
}

// A rule that may fire while only input 0 moves, as the Zadeh methods' consequent degrees read
// it: its cell of input 0, its distinct consequent and its minimum over the other inputs.
struct LiveRule {
    int cell;
    int consequent;
    double partial;
};

// The scratch of one worker's inferences, with what is known of its firing degrees.
struct SweepScratch {
    InferenceScratch inference;
    // The firing degrees come from the minima over inputs 1 and up (grid sweeps).
    bool partial = false;
    // With those minima, for the perception-based deduction and the Zadeh methods' simple
    // linguistic values: the rules that may fire while only input 0 moves; liveCount -1 when every
    // rule is to be looked at.
    std::vector<int> live;
    int liveCount = -1;
    // The Zadeh methods' live rules as their consequent degrees read them.
    std::vector<LiveRule> liveRules;
    // Zadeh methods: [distinct consequent] the greatest firing degree of its rules, at this point
    // and at the one before, whose simple linguistic value is kept (points in a row where only
    // input 0 moves often have the same degrees).
    std::vector<double> consequentDegrees;
    std::vector<double> consequentDegreesBefore;
    std::optional<double> zadehValueBefore;
    // [distinct consequent] where its cut lay at the last point whose value came from the shapes.
    std::vector<CutBounds> cutsBefore;

    void Fit(const CompiledRules& rules, int samples) {
        inference.Fit(rules, samples);
        live.resize(rules.ruleCount);
        liveRules.resize(rules.ruleCount);
        consequentDegrees.resize(rules.distinctConsequentRuns.size());
        consequentDegreesBefore.resize(rules.distinctConsequentRuns.size());
        cutsBefore.resize(rules.distinctConsequentRuns.size());
    }
};

bool NoneNegative(const std::vector<double>& degrees) {
    return std::none_of(degrees.begin(), degrees.end(), [](double d) { return d < 0; });
}

// One worker's inferences: scratch of its own, and the smooth method's grid when a point's
// crisp output needs it.
class PointEvaluator {
  public:
    explicit PointEvaluator(const SweepModel& model) : model_(model) {
        const int samples = model.MakesSet() ? model.output.samples : 0;
        scratch_.Fit(*model.rules, samples);
        index_.resize(model.antecedents);
        point_.resize(model.antecedents);
        if (model.MakesSet() && model.defuzzify == nullptr) {
            inner_.Fit(*model.rules, samples);
            windows_.resize(model.antecedents);
            windowAxes_.resize(model.antecedents);
            windowDegrees_.resize(model.antecedents);
            windowIndex_.resize(model.antecedents);
            windowPoint_.resize(model.antecedents);
        }
    }

    double* Degrees() { return scratch_.inference.cellDegrees.data(); }
    // Inputs 1 and up have moved (grid sweeps): their share of the firing degrees is taken anew,
    // and from then on only input 0's. The rules that may fire are kept apart only when no
    // degree input 0 takes is negative.
    void RefreshPartial(bool firstInputNonNegative, PointValue value) {
        RefreshPartialOf(scratch_, firstInputNonNegative, value);
    }
    std::vector<int>& Index() { return index_; }
    std::vector<double>& Point() { return point_; }

    // The value at x, the degrees at x being in Degrees().
    double Value(std::span<const double> x, PointValue value) {
        if (model_.MakesSet() && value == PointValue::kCrispOutput && !model_.defuzzify)
            return Smooth(x);
        return ValueWith(scratch_, x, value);
    }

  private:
    void RefreshPartialOf(SweepScratch& scratch, bool firstInputNonNegative, PointValue value) {
        const CompiledRules& rules = *model_.rules;
        double* partial = scratch.inference.partialDegrees.data();
        PartialFirings(rules, scratch.inference.cellDegrees.data(), partial);
        scratch.partial = true;
        const bool candidatesOnly =
            model_.method == CrispMethod::kPerceptionBased ||
            (value == PointValue::kSimpleLinguistic && IsZadehMethod(model_.method));
        scratch.liveCount = candidatesOnly && firstInputNonNegative
                                ? RulesThatMayFire(rules, partial, scratch.live.data())
                                : -1;
        if (scratch.liveCount > 0 && model_.method != CrispMethod::kPerceptionBased) {
            const int m = rules.antecedentCount;
            for (int i = 0; i < scratch.liveCount; ++i) {
                const int r = scratch.live[i];
                scratch.liveRules[i] = {rules.antecedentCellIds[static_cast<std::size_t>(r) * m],
                                        rules.consequentIds[r], partial[r]};
            }
        }
    }

    // ConsequentDegrees of the live rules, their firing degrees (FiringsFromPartial's) taken on
    // the way; a cell degree of 0 or less fires no rule.
    static void LiveConsequentDegrees(SweepScratch& scratch) {
        const double* cells = scratch.inference.cellDegrees.data();
        double* degrees = scratch.consequentDegrees.data();
        for (std::size_t k = 0; k < scratch.consequentDegrees.size(); ++k)
            degrees[k] = 0.0;
        for (int i = 0; i < scratch.liveCount; ++i) {
            const LiveRule& rule = scratch.liveRules[i];
            const double d = cells[rule.cell];
            if (d <= 0)
                continue;
            const double firing = d < rule.partial ? d : rule.partial;
            if (firing > degrees[rule.consequent])
                degrees[rule.consequent] = firing;
        }
    }

    double ValueWith(SweepScratch& sweepScratch, std::span<const double> x, PointValue value) {
        const CompiledRules& rules = *model_.rules;
        InferenceScratch& scratch = sweepScratch.inference;
        double* firing = scratch.ruleDegrees.data();
        const double* cells = scratch.cellDegrees.data();
        if (sweepScratch.liveCount >= 0) {
            // Laid out for the perception-based deduction, whose value is inlined here; the Zadeh
            // methods' value is out of line anyway.
            if (model_.method == CrispMethod::kPerceptionBased) [[likely]] {
                const std::span<const int> live(sweepScratch.live.data(), sweepScratch.liveCount);
                FiringsFromPartial(rules, cells, scratch.partialDegrees.data(), live, firing);
                return PerceptionValue(scratch, SelectPerceptionRules(rules, firing, live, scratch),
                                       value);
            }
            return ZadehLinguisticValue(sweepScratch, true);
        }
        if (sweepScratch.partial)
            FiringsFromPartial(rules, cells, scratch.partialDegrees.data(), firing);
        else
            RuleFirings(rules, cells, firing);
        if (!model_.MakesSet()) {
            if (model_.kind == CRuleBase::kLinguistic)
                return std::numeric_limits<double>::infinity();
            return InferLinearCombination(rules, firing, x, model_.kind == CRuleBase::kSingleton,
                                          model_.midpoint, scratch);
        }
        if (model_.method == CrispMethod::kPerceptionBased)
            return PerceptionValue(scratch, SelectPerceptionRules(rules, firing, scratch), value);
        if (value == PointValue::kSimpleLinguistic && IsZadehMethod(model_.method))
            return ZadehLinguisticValue(sweepScratch, false);
        const int n = model_.output.samples;
        InferOutputSamples(model_.method, rules, firing, scratch, scratch.samples.data(), n);
        return SetValue(std::span<const double>(scratch.samples.data(), n), value);
    }

    // The simple linguistic value of a Zadeh method, from the live rules' degrees or, without
    // live, the firing degrees of all rules in scratch: the shapes of the consequents give most
    // values, and where they do not, what the kernel knows of its samples spares the scans. Out
    // of line, it leaves ValueWith small enough to be inlined in the loops of the other sweeps.
    [[gnu::noinline]] double ZadehLinguisticValue(SweepScratch& sweepScratch, bool live) {
        InferenceScratch& scratch = sweepScratch.inference;
        std::vector<double>& degrees = sweepScratch.consequentDegrees;
        if (live)
            LiveConsequentDegrees(sweepScratch);
        else
            ConsequentDegrees(*model_.rules, scratch.ruleDegrees.data(), std::nullopt,
                              degrees.data());
        // No degree is NaN or -0, so equal degrees are the same bits.
        if (sweepScratch.zadehValueBefore && degrees == sweepScratch.consequentDegreesBefore)
            return *sweepScratch.zadehValueBefore;
        double y = 0.0;
        if (const std::optional<double> shaped =
                EnvelopeLinguisticValue(model_.zadehKernel, model_.consequentShapes, degrees.data(),
                                        model_.output, sweepScratch.cutsBefore)) {
            y = *shaped;
        } else {
            const int n = model_.output.samples;
            double* samples = scratch.samples.data();
            const SampleBounds bounds =
                InferZadehSamples(model_.method, *model_.rules, degrees.data(), samples, n);
            y = SimpleLinguisticSampleValue(std::span<const double>(samples, n), model_.output,
                                            bounds);
        }
        degrees.swap(sweepScratch.consequentDegreesBefore);
        sweepScratch.zadehValueBefore = y;
        return y;
    }

    // The value the perception-based deduction gives with the rules selected in scratch.
    double PerceptionValue(InferenceScratch& scratch, int selected, PointValue value) {
        const double* firing = scratch.ruleDegrees.data();
        SelectionMemo& memo = memos_[value == PointValue::kSimpleLinguistic ? 1 : 0];
        if (const double* kept = memo.Find(scratch.selectedRules.data(), selected, firing))
            return *kept;
        const int n = model_.output.samples;
        double* samples = scratch.samples.data();
        PerceptionSamplesOf(*model_.rules, firing, selected, scratch, samples, n);
        const double y = SetValue(std::span<const double>(samples, n), value);
        memo.Keep(y);
        return y;
    }

    double SetValue(std::span<const double> samples, PointValue value) const {
        if (value == PointValue::kSimpleLinguistic)
            return SimpleLinguisticSampleValue(samples, model_.output);
        return model_.defuzzify(samples, model_.output);
    }

    // The smooth method around center, one point after another; the sums run in grid order, as
    // in SmoothNeighbourhoodAverage.
    double Smooth(std::span<const double> center) {
        const CompiledRules& rules = *model_.rules;
        const int m = model_.antecedents;
        for (int i = 0; i < m; ++i) {
            FillSmoothWindow(model_.inputLo[i], model_.inputHi[i], center[i],
                             model_.smoothDivisions, kSmoothStepShare, windows_[i]);
            windowAxes_[i].assign(windows_[i].points.begin(), windows_[i].points.end());
            FillAxisDegrees(rules, i, windowAxes_[i], windowDegrees_[i]);
            windowIndex_[i] = 0;
            windowPoint_[i] = windowAxes_[i][0];
            LoadAxisDegrees(rules, i, windowDegrees_[i], 0, inner_.inference.cellDegrees.data());
        }
        const bool firstInputNonNegative = NoneNegative(windowDegrees_[0]);
        RefreshPartialOf(inner_, firstInputNonNegative, PointValue::kSimpleLinguistic);
        double weightSum = 0.0;
        double weightedSum = 0.0;
        for (;;) {
            const double y = ValueWith(inner_, windowPoint_, PointValue::kSimpleLinguistic);
            const double weight = WeightAt(windows_, windowIndex_.data());
            weightSum += weight;
            weightedSum += y * weight;
            int i = 0;
            for (; i < m; ++i) {
                const bool more = ++windowIndex_[i] < static_cast<int>(windowAxes_[i].size());
                if (!more)
                    windowIndex_[i] = 0;
                windowPoint_[i] = windowAxes_[i][windowIndex_[i]];
                LoadAxisDegrees(rules, i, windowDegrees_[i], windowIndex_[i],
                                inner_.inference.cellDegrees.data());
                if (more)
                    break;
            }
            if (i == m)
                break;
            if (i > 0)
                RefreshPartialOf(inner_, firstInputNonNegative, PointValue::kSimpleLinguistic);
        }
        return weightSum == 0 ? 0.0 : weightedSum / weightSum;
    }

    const SweepModel& model_;
    SweepScratch scratch_;
    // Per kind of value: the crisp output, the simple linguistic value.
    SelectionMemo memos_[2];
    std::vector<int> index_;
    std::vector<double> point_;
    SweepScratch inner_;
    std::vector<SmoothWindow> windows_;
    std::vector<std::vector<double>> windowAxes_;
    std::vector<std::vector<double>> windowDegrees_;
    std::vector<int> windowIndex_;
    std::vector<double> windowPoint_;
};

// Evaluates points [first, first + count) of a range into out.
using RangeWork =
    std::function<void(PointEvaluator&, std::size_t first, std::size_t count, double* out)>;

// Worker threads that serve one sweep and take one range at a time, in fixed chunks taken in
// turn (a helper that has not come in when the sweep ends exits when it next wakes). A chunk's
// values do not depend on the thread that computes them. The calling thread is
// one of the workers: with helpers running it is free to consume one range while they compute
// the next, and then helps with what is left of it.
class WorkerTeam {
  public:
    // Up to threads workers. Eager helpers start at once; otherwise the first range starts on
    // the calling thread alone, and helpers join it only when what is left would keep them busy
    // for longer than starting them takes.
    WorkerTeam(const SweepModel& model, int threads, bool eager, std::size_t smallestChunk)
        : model_(model), threads_(std::max(threads, 1)), smallestChunk_(smallestChunk) {
        evaluators_.push_back(std::make_unique<PointEvaluator>(model));
        failures_.resize(threads_);
        if (eager && threads_ > 1)
            StartHelpers(threads_ - 1, false);
        decided_ = eager || threads_ == 1;
    }
    // Every helper is joined, not left to exit on its own: the core also runs inside a module
    // that its client may unload, and a thread still running the module's code would crash then.
    ~WorkerTeam() {
        if (helpers_.empty())
            return;
        {
            const std::lock_guard lock(roster_.mutex);
            roster_.stopping = true;
            roster_.open = false;
        }
        roster_.wake.notify_all();
        for (std::thread& thread : helpers_)
            thread.join();
    }
    WorkerTeam(const WorkerTeam&) = delete;
    WorkerTeam& operator=(const WorkerTeam&) = delete;

    // Starts computing points [first, first + count) into out; Wait ends it. work is borrowed
    // until then.
    void Start(std::size_t first, std::size_t count, double* out, const RangeWork& work) {
        // Many chunks per thread even the load when points cost unequally (early stops).
        const std::size_t chunk =
            std::clamp<std::size_t>(count / (threads_ * 16), smallestChunk_, 4096);
        job_ = {first, count, out, &work, chunk, (count + chunk - 1) / chunk};
        nextChunk_.store(0);
        failed_.store(false);
        if (helpers_.empty())
            return;
        {
            const std::lock_guard lock(roster_.mutex);
            ++roster_.generation;
            roster_.open = true;
        }
        roster_.wake.notify_all();
    }

    // Computes what is left of the range and waits for it; rethrows the failure of the earliest
    // chunk that failed.
    void Wait() {
        if (!decided_) {
            decided_ = true;
            if (const int helpers = HelpersWorthStarting(); helpers > 0)
                StartHelpers(helpers, true);
        }
        Run(0);
        if (!helpers_.empty()) {
            // Helpers that have not come in by now find no chunk left: the range is closed to
            // them, and only those computing are waited for.
            std::unique_lock lock(roster_.mutex);
            roster_.open = false;
            roster_.done.wait(lock, [this] { return roster_.computing == 0; });
        }
        Failure* earliest = nullptr;
        for (Failure& failure : failures_) {
            if (failure.error && (!earliest || failure.chunk < earliest->chunk))
                earliest = &failure;
        }
        if (earliest) {
            const std::exception_ptr error = earliest->error;
            for (Failure& failure : failures_)
                failure.error = nullptr;
            std::rethrow_exception(error);
        }
    }

  private:
    using Clock = std::chrono::steady_clock;
    // The calling thread measures the range this long before it decides. Starting a helper,
    // waking it and joining it cost some tens of microseconds each, so a helper is worth
    // starting for a few hundred microseconds of work.
    static constexpr Clock::duration kTrial = std::chrono::microseconds(100);
    static constexpr Clock::duration kWorthAHelper = std::chrono::microseconds(400);

    struct Job {
        std::size_t first = 0;
        std::size_t count = 0;
        double* out = nullptr;
        const RangeWork* work = nullptr;
        std::size_t chunk = 1;
        std::size_t chunks = 0;
    };
    struct Failure {
        std::size_t chunk = 0;
        std::exception_ptr error;
    };
    // Who takes part in which range: a helper that the scheduler keeps waiting (a loaded machine
    // can take milliseconds to run a new thread) may wake after its range was closed, and then
    // waits for the next range or the end without touching the team.
    struct Roster {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable done;
        std::size_t generation = 0;
        // The range under way takes helpers in.
        bool open = false;
        std::size_t computing = 0;
        bool stopping = false;
    };

    // Runs chunks on the calling thread for a trial period; then the helpers that what is left
    // would keep busy, judged from the pace so far.
    int HelpersWorthStarting() {
        const Clock::time_point start = Clock::now();
        const std::clock_t processorStart = std::clock();
        std::size_t done = 0;
        Clock::duration spent{};
        while (spent < kTrial) {
            if (!RunChunk(0))
                return 0;
            ++done;
            spent = Clock::now() - start;
        }
        // The pace is that of the processor time taken where the clock tells it: on a loaded
        // machine the trial's wall time stretches, and helpers started for work that looks longer
        // than it is wait for a processor while the calling thread waits for them.
        const std::clock_t processorEnd = std::clock();
        if (processorStart != static_cast<std::clock_t>(-1) &&
            processorEnd != static_cast<std::clock_t>(-1)) {
            const auto taken = std::chrono::duration<double>(
                static_cast<double>(processorEnd - processorStart) / CLOCKS_PER_SEC);
            spent = std::min(spent, std::chrono::duration_cast<Clock::duration>(taken));
        }
        const std::size_t left = job_.chunks - std::min(job_.chunks, nextChunk_.load());
        const auto rest = spent * static_cast<double>(left) / static_cast<double>(done);
        return static_cast<int>(std::min<double>(threads_ - 1, rest / kWorthAHelper));
    }

    // helpers threads after the calling thread's; joining, they take part in the range under way.
    void StartHelpers(int helpers, bool joining) {
        for (int w = 1; w <= helpers; ++w)
            evaluators_.push_back(std::make_unique<PointEvaluator>(model_));
        std::size_t seen = 0;
        {
            const std::lock_guard lock(roster_.mutex);
            if (joining) {
                ++roster_.generation;
                roster_.open = true;
            }
            seen = joining ? roster_.generation - 1 : roster_.generation;
        }
        for (int w = 1; w <= helpers; ++w)
            helpers_.emplace_back([this, w, seen] { Serve(w, seen); });
    }

    void Serve(std::size_t w, std::size_t seen) {
        for (;;) {
            {
                std::unique_lock lock(roster_.mutex);
                roster_.wake.wait(lock,
                                  [&] { return roster_.stopping || roster_.generation != seen; });
                if (roster_.stopping)
                    return;
                seen = roster_.generation;
                if (!roster_.open)
                    continue;
                ++roster_.computing;
            }
            Run(w);
            {
                const std::lock_guard lock(roster_.mutex);
                --roster_.computing;
            }
            roster_.done.notify_one();
        }
    }

    void Run(std::size_t w) {
        while (RunChunk(w)) {
        }
    }

    // Takes the next chunk and computes it; false when none was left or a chunk failed.
    bool RunChunk(std::size_t w) {
        const Job& job = job_;
        const std::size_t c = nextChunk_.fetch_add(1);
        if (c >= job.chunks || failed_.load())
            return false;
        const std::size_t begin = c * job.chunk;
        try {
            (*job.work)(*evaluators_[w], job.first + begin, std::min(job.chunk, job.count - begin),
                        job.out + begin);
        } catch (...) {
            failures_[w] = {c, std::current_exception()};
            failed_.store(true);
            return false;
        }
        return true;
    }

    const SweepModel& model_;
    const int threads_;
    const std::size_t smallestChunk_;
    bool decided_ = false;
    std::vector<std::unique_ptr<PointEvaluator>> evaluators_;
    std::vector<Failure> failures_;
    std::vector<std::thread> helpers_;
    Job job_;
    std::atomic<std::size_t> nextChunk_{0};
    std::atomic<bool> failed_{false};
    Roster roster_;
};

// The fewest points a chunk holds: one where each is a sweep of its own (the smooth method's
// average), else enough that taking a chunk costs nothing next to computing it.
std::size_t SmallestChunkFor(const SweepModel& model, PointValue value) {
    return model.MakesSet() && value == PointValue::kCrispOutput && !model.defuzzify
               ? 1
               : kSmallestChunk;
}

// Threads asked for are given as long as each has a chunk to take; otherwise up to one per core,
// started as the work shows itself worth them.
WorkerTeam TeamFor(const SweepModel& model, PointValue value, SweepOptions options,
                   std::size_t points) {
    const std::size_t smallestChunk = SmallestChunkFor(model, value);
    const std::size_t chunks = std::max<std::size_t>(1, points / smallestChunk);
    const std::size_t wanted = options.threads > 0
                                   ? static_cast<std::size_t>(options.threads)
                                   : std::max(1u, std::thread::hardware_concurrency());
    return WorkerTeam(model, static_cast<int>(std::min(wanted, chunks)), options.threads > 0,
                      smallestChunk);
}

std::size_t GridSize(CRuleBase& ruleBase, std::span<const std::vector<double>> axes) {
    if (static_cast<int>(axes.size()) != ruleBase.GetNumAntVariables())
        throw std::invalid_argument("one axis per antecedent is needed");
    std::size_t total = 1;
    for (const std::vector<double>& axis : axes) {
        if (axis.empty())
            return 0;
        if (total > std::numeric_limits<std::size_t>::max() / axis.size())
            throw std::invalid_argument("the grid has too many points");
        total *= axis.size();
    }
    return total;
}

// The degree tables of a grid's axes, and the evaluation of a range of its points.
class GridWork {
  public:
    GridWork(const CompiledRules& rules, std::span<const std::vector<double>> axes,
             PointValue value)
        : rules_(rules), axes_(axes), value_(value), tables_(axes.size()) {
        for (std::size_t a = 0; a < axes.size(); ++a)
            FillAxisDegrees(rules, static_cast<int>(a), axes[a], tables_[a]);
        firstInputNonNegative_ = tables_.empty() || NoneNegative(tables_[0]);
    }

    void operator()(PointEvaluator& evaluator, std::size_t first, std::size_t count,
                    double* out) const {
        std::vector<int>& index = evaluator.Index();
        std::vector<double>& point = evaluator.Point();
        double* degrees = evaluator.Degrees();
        std::size_t rest = first;
        for (std::size_t a = 0; a < axes_.size(); ++a) {
            index[a] = static_cast<int>(rest % axes_[a].size());
            rest /= axes_[a].size();
            point[a] = axes_[a][index[a]];
            LoadAxisDegrees(rules_, static_cast<int>(a), tables_[a], index[a], degrees);
        }
        evaluator.RefreshPartial(firstInputNonNegative_, value_);
        for (std::size_t p = 0; p < count; ++p) {
            out[p] = evaluator.Value(point, value_);
            // Only the inputs that move take new degrees.
            std::size_t a = 0;
            for (; a < axes_.size(); ++a) {
                const bool more = ++index[a] < static_cast<int>(axes_[a].size());
                if (!more)
                    index[a] = 0;
                point[a] = axes_[a][index[a]];
                LoadAxisDegrees(rules_, static_cast<int>(a), tables_[a], index[a], degrees);
                if (more)
                    break;
            }
            if (a > 0 && a < axes_.size())
                evaluator.RefreshPartial(firstInputNonNegative_, value_);
        }
    }

  private:
    const CompiledRules& rules_;
    std::span<const std::vector<double>> axes_;
    PointValue value_;
    std::vector<std::vector<double>> tables_;
    bool firstInputNonNegative_ = true;
};

// A sweep whose routines are not the tables': one point after another through the rule base.
void SweepGridInOrder(CRuleBase& ruleBase, std::span<const std::vector<double>> axes,
                      std::size_t total, PointValue value, const GridConsumer& consume) {
    const CRuleBase::ScopedInferenceState keeper(ruleBase);
    std::optional<DefuzzificationGrid> output;
    if (value == PointValue::kSimpleLinguistic)
        output = DefuzzificationGridOf(ruleBase, 0);
    std::vector<int> index(axes.size(), 0);
    std::vector<double> point(axes.size());
    std::vector<double> block(std::min(total, kBlockPoints));
    for (std::size_t first = 0; first < total; first += block.size()) {
        const std::size_t count = std::min(block.size(), total - first);
        for (std::size_t p = 0; p < count; ++p) {
            for (std::size_t a = 0; a < axes.size(); ++a)
                point[a] = axes[a][index[a]];
            block[p] =
                output ? SimpleLinguisticOf(ruleBase.GetInferenceMethod()(ruleBase, point), *output)
                       : ruleBase.CrispOutput(point);
            Advance(axes, index.data());
        }
        consume(first, std::span<const double>(block.data(), count));
    }
}

void SweepGridOf(CRuleBase& ruleBase, std::span<const std::vector<double>> axes, PointValue value,
                 const GridConsumer& consume, SweepOptions options) {
    const std::size_t total = GridSize(ruleBase, axes);
    if (total == 0)
        return;
    const std::optional<SweepModel> model = FastModelOf(ruleBase, value);
    if (!model) {
        SweepGridInOrder(ruleBase, axes, total, value, consume);
        return;
    }
    const GridWork grid(*model->rules, axes, value);
    const RangeWork work = std::cref(grid);
    const std::size_t block = BlockFor(total);
    std::vector<double> buffers[2] = {std::vector<double>(block),
                                      std::vector<double>(total > block ? block : 0)};
    WorkerTeam team = TeamFor(*model, value, options, block);
    team.Start(0, block, buffers[0].data(), work);
    team.Wait();
    // While one block is consumed the next is computed.
    for (std::size_t first = 0, b = 0; first < total; first += block, ++b) {
        const std::size_t count = std::min(block, total - first);
        const std::size_t next = first + count;
        if (next < total)
            team.Start(next, std::min(block, total - next), buffers[(b + 1) % 2].data(), work);
        consume(first, std::span<const double>(buffers[b % 2].data(), count));
        team.Wait();
    }
}

}  // namespace

void EvaluatePoints(CRuleBase& ruleBase, std::span<const double> points, std::span<double> outputs,
                    SweepOptions options) {
    const std::size_t m = ruleBase.GetNumAntVariables();
    if (points.size() != outputs.size() * m)
        throw std::invalid_argument("one value per antecedent is needed for every point");
    if (outputs.empty())
        return;
    const std::optional<SweepModel> model = FastModelOf(ruleBase, PointValue::kCrispOutput);
    if (!model) {
        const CRuleBase::ScopedInferenceState keeper(ruleBase);
        for (std::size_t p = 0; p < outputs.size(); ++p)
            outputs[p] = ruleBase.CrispOutput(points.subspan(p * m, m));
        return;
    }
    const CompiledRules& rules = *model->rules;
    const RangeWork work = [&](PointEvaluator& evaluator, std::size_t first, std::size_t count,
                               double* out) {
        double* degrees = evaluator.Degrees();
        for (std::size_t p = first; p < first + count; ++p) {
            const std::span<const double> x = points.subspan(p * m, m);
            // Only the inputs that moved since the point before take new degrees.
            for (std::size_t a = 0; a < m; ++a) {
                if (p == first || std::bit_cast<std::uint64_t>(x[a]) !=
                                      std::bit_cast<std::uint64_t>(points[(p - 1) * m + a]))
                    AntecedentCellDegrees(rules, static_cast<int>(a), x[a], degrees);
            }
            out[p - first] = evaluator.Value(x, PointValue::kCrispOutput);
        }
    };
    WorkerTeam team = TeamFor(*model, PointValue::kCrispOutput, options, outputs.size());
    team.Start(0, outputs.size(), outputs.data(), work);
    team.Wait();
}

void EvaluateGrid(CRuleBase& ruleBase, std::span<const std::vector<double>> axes,
                  std::span<double> outputs, SweepOptions options) {
    if (GridSize(ruleBase, axes) != outputs.size())
        throw std::invalid_argument("one output per grid point is needed");
    SweepGrid(
        ruleBase, axes,
        [&](std::size_t first, std::span<const double> values) {
            std::copy(values.begin(), values.end(), outputs.begin() + first);
        },
        options);
}

void SweepGrid(CRuleBase& ruleBase, std::span<const std::vector<double>> axes,
               const GridConsumer& consume, SweepOptions options) {
    SweepGridOf(ruleBase, axes, PointValue::kCrispOutput, consume, options);
}

double SmoothNeighbourhoodAverage(CRuleBase& ruleBase, double gridDivisions, double stepShare,
                                  SweepOptions options) {
    // The output is checked before anything runs, as the method always has.
    DefuzzificationGridOf(ruleBase, 0);
    const int m = ruleBase.GetNumAntVariables();
    const std::vector<double> center(ruleBase.GetInputs().begin(), ruleBase.GetInputs().end());
    std::vector<SmoothWindow> windows(m);
    std::vector<std::vector<double>> axes(m);
    for (int i = 0; i < m; ++i) {
        const double lo = ruleBase.GetLowerBound(i);
        const double x = i < static_cast<int>(center.size()) ? center[i] : lo;
        FillSmoothWindow(lo, ruleBase.GetUpperBound(i), x, gridDivisions, stepShare, windows[i]);
        axes[i] = windows[i].points;
    }
    double weightSum = 0.0;
    double weightedSum = 0.0;
    std::vector<int> index(m, 0);
    SweepGridOf(
        ruleBase, axes, PointValue::kSimpleLinguistic,
        [&](std::size_t, std::span<const double> values) {
            for (const double y : values) {
                const double weight = WeightAt(windows, index.data());
                weightSum += weight;
                weightedSum += y * weight;
                Advance(axes, index.data());
            }
        },
        options);
    return weightSum == 0 ? 0.0 : weightedSum / weightSum;
}
