#include "calc/calculation.h"

#include "calc/friction_eval.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>

namespace kolmaris {
namespace detail {
namespace {

#include "calc/candidate_table.inc"

// Finds what the straight sweep would find while evaluating only a few dozen candidates.
//
// Along the sweep the candidate grows, so 1/sqrt(candidate) never rises, and the right-hand
// side of Colebrook moves one way only (which way depends on the sign of the Reynolds number):
// every operation on the way is monotone in floating point as well. The balance of any
// candidate between two others therefore lies within bounds taken from those two alone, and a
// stretch of candidates whose bounds exclude what is sought can be skipped unseen. The result
// is the same candidate, with the same bits, as the sweep's.
class FastSearch {
public:
    explicit FastSearch(const SearchInputs& inputs) : in_(inputs) {}

    // Candidate k of a pass (1-based), without walking the pass.
    CandidatePoint at(long k) {
        if (k <= earlyLimit) {
            return firstCandidates[k - 1];
        }
        const long offset = k - 1;
        if (offset % candidateTableStride == 0) {
            return candidateTable[offset / candidateTableStride];
        }
        if (k == candidateCount) {
            return lastCandidate;
        }
        return walkedTo(offset / candidateTableStride, offset % candidateTableStride);
    }

    struct Point {
        long index;
        CandidatePoint candidate;
        CandidateBalance balance;
    };

    Point point(long k) { return pointOf(k, at(k)); }

    // The last candidate that evaluates: 0 when the first fails already. Evaluation fails on
    // an overflow or a logarithm argument reaching zero, both of which, once they occur,
    // persist for every later candidate. Asked for only after the first pass (firstAccepted),
    // which finds it itself when the first candidate, or another early one, fails.
    long lastEvaluating() {
        if (last_ < 0) {
            last_ = evaluates(point(candidateCount).balance) ? candidateCount
                                                             : lastEvaluatingBefore(candidateCount);
        }
        return last_;
    }

    // The first candidate whose balance a pass with this threshold accepts, if the pass gets
    // there before a candidate fails to evaluate.
    std::optional<Point> firstAccepted(double threshold) {
        threshold_ = threshold;
        const Point first = point(1);
        if (!evaluates(first.balance)) {
            last_ = 0;
            return std::nullopt;
        }
        if (accepts(first)) {
            return first;
        }
        // Nearly every search ends among the early candidates, so they are searched first, by
        // the bounds as everywhere else: that evaluates a handful of them where the sweep
        // evaluates each. When the last of them evaluates, so do all before it, and the end of
        // the sweep is looked at only if the answer lies beyond them.
        const Point early = point(earlyLimit);
        if (!evaluates(early.balance)) {
            last_ = lastEvaluatingBefore(earlyLimit);
            return last_ == 1 ? std::nullopt : findAccepted(first, point(last_));
        }
        if (auto found = findAccepted(first, early)) {
            return found;
        }
        const long last = lastEvaluating();
        if (last == earlyLimit) {
            return std::nullopt;
        }
        return findAccepted(early, point(last));
    }

    // The first pair of neighbours up to the last evaluating candidate across which the balance
    // turns from positive to negative; the later of the two is returned. Asked for only when
    // every pass has run out.
    std::optional<Point> firstSignChange() {
        const long last = lastEvaluating();
        const long early = std::min<long>(last, earlyLimit);
        if (early < 2) {
            return std::nullopt;
        }
        // The early candidates first, as above, so that an answer among them walks no block.
        const Point end = point(early);
        if (auto found = findSignChange(point(1), end)) {
            return found;
        }
        if (early == last) {
            return std::nullopt;
        }
        return findSignChange(end, point(last));
    }

private:
    struct Bounds {
        double low;
        double high;
    };

    // Bounds of every balance strictly between a and b, from the two ends alone.
    static Bounds boundsBetween(const Point& a, const Point& b) {
        const double rhsLow = std::min(a.balance.colebrookRhs, b.balance.colebrookRhs);
        const double rhsHigh = std::max(a.balance.colebrookRhs, b.balance.colebrookRhs);
        return {b.balance.invSqrtLambda - rhsHigh, a.balance.invSqrtLambda - rhsLow};
    }

    bool accepts(const Point& p) const { return p.balance.balanceAbs < threshold_; }

    static bool turns(const Point& a, const Point& b) {
        return a.balance.balanceDiff > 0 && b.balance.balanceDiff < 0;
    }

    // Most searches end among the first candidates, which are tabulated one by one, so that
    // probing them costs no walk (and no block). Beyond them (laminar flow, rough pipes) the
    // candidates are reached from the coarser table.
    static constexpr long earlyLimit = static_cast<long>(std::size(firstCandidates));
    // The smallest stride of a gallop inside a block.
    static constexpr long minimumGallop = 16;

    Point pointOf(long k, CandidatePoint c) const { return {k, c, evaluateBalance(in_, c.trial)}; }

    // The last candidate before `bad`, which does not evaluate, when the first does.
    long lastEvaluatingBefore(long bad) {
        long good = 1;
        while (bad - good > 1) {
            const long mid = middle(good, bad);
            (evaluates(point(mid).balance) ? good : bad) = mid;
        }
        return good;
    }

    // Splits between two table entries while the stretch spans more than one block, so that
    // probing stays on the table and walks only inside the one block it ends in.
    static long middle(long a, long b) {
        if (b - a > candidateTableStride) {
            const long blockA = (a - 1) / candidateTableStride;
            const long blockB = (b - 1) / candidateTableStride;
            const long mid = 1 + candidateTableStride * (blockA + (blockB - blockA + 1) / 2);
            if (mid > a && mid < b) {
                return mid;
            }
        }
        return a + (b - a) / 2;
    }

    // Where to look between a and b when the first candidate sought after a is wanted. The
    // probe gallops: it lies as far beyond a as a lies beyond the start of its block (on the
    // table, beyond the start of the sweep), never further than halfway. A search whose answer
    // lies early in a block thus walks the block only a little past the answer, and one whose
    // answer lies early in the sweep probes only the first blocks.
    static long probeAfter(long a, long b) {
        const long blockA = (a - 1) / candidateTableStride;
        const long blockB = (b - 1) / candidateTableStride;
        if (blockB - blockA > 1) {
            const long ahead = std::min(std::max(blockA, 1L), (blockB - blockA) / 2);
            return 1 + candidateTableStride * (blockA + ahead);
        }
        if (blockB > blockA && (b - 1) % candidateTableStride != 0) {
            return 1 + candidateTableStride * blockB; // the table entry between them
        }
        const long intoBlock = (a - 1) % candidateTableStride;
        return a + std::min(std::max(intoBlock, minimumGallop), (b - a) / 2);
    }

    // a has been rejected; looks at the candidates after a, up to b.
    std::optional<Point> findAccepted(const Point& a, const Point& b) {
        if (b.index - a.index == 1) {
            return accepts(b) ? std::optional<Point>(b) : std::nullopt;
        }
        const Bounds inner = boundsBetween(a, b);
        if (!(inner.low < threshold_ && inner.high > -threshold_)) {
            return accepts(b) ? std::optional<Point>(b) : std::nullopt;
        }
        const Point m = point(probeAfter(a.index, b.index));
        if (auto found = findAccepted(a, m)) {
            return found;
        }
        return findAccepted(m, b);
    }

    std::optional<Point> findSignChange(const Point& a, const Point& b) {
        if (b.index - a.index == 1) {
            return turns(a, b) ? std::optional<Point>(b) : std::nullopt;
        }
        const Bounds inner = boundsBetween(a, b);
        const double low = std::min({inner.low, a.balance.balanceDiff, b.balance.balanceDiff});
        const double high = std::max({inner.high, a.balance.balanceDiff, b.balance.balanceDiff});
        if (!(high > 0 && low < 0)) {
            return std::nullopt;
        }
        const Point m = point(probeAfter(a.index, b.index));
        if (auto found = findSignChange(a, m)) {
            return found;
        }
        return findSignChange(m, b);
    }

    // Candidate `offset` of a table block, walking the block from its table entry only as far as
    // asked: most searches that leave the early candidates need a few hundred of the block's
    // candidates, and walking or even clearing all of them would cost more than the search.
    CandidatePoint walkedTo(long block, long offset) {
        if (!blockPoints_) {
            // Uninitialised on purpose, for the same reason.
            blockPoints_.reset(new CandidatePoint[candidateTableStride]);
        }
        if (block != cachedBlock_) {
            cachedBlock_ = block;
            blockPoints_[0] = candidateTable[block];
            blockWalked_ = 1;
        }
        for (; blockWalked_ <= offset; ++blockWalked_) {
            blockPoints_[blockWalked_] = nextCandidate(blockPoints_[blockWalked_ - 1]);
        }
        return blockPoints_[offset];
    }

    SearchInputs in_;
    double threshold_ = 0;
    long last_ = -1; // not yet known
    long cachedBlock_ = -1;
    long blockWalked_ = 0; // candidates of the cached block known, from its table entry on
    std::unique_ptr<CandidatePoint[]> blockPoints_;
};

} // namespace
} // namespace detail

void findFrictionFactor(CalculationRecord& r) {
    using namespace detail;
    FastSearch search({r.roughness, r.diameter, r.reynolds});

    for (const double threshold : acceptanceThresholds) {
        if (const auto accepted = search.firstAccepted(threshold)) {
            recordCandidate(r, accepted->candidate, accepted->balance);
            r.lambda = r.lambdaTrial;
            return;
        }
        const long last = search.lastEvaluating();
        if (last < candidateCount) {
            // The first pass walks on into the candidate that cannot be evaluated.
            if (last > 0) {
                recordCandidate(r, search.at(last));
            }
            recordCandidate(r, search.at(last + 1)); // throws
        }
    }
    const auto change = search.firstSignChange();
    if (!change) {
        // As the sweep leaves it: the last candidate of the third pass, the increment grown.
        recordCandidate(r, lastCandidate);
        r.lambdaStep = stepAfterLast;
        failNoSignChange();
    }
    const auto before = search.point(change->index - 1);
    acceptNearest(r, before.candidate, before.balance.balanceAbs, change->candidate,
                  change->balance.balanceAbs);
}

} // namespace kolmaris
