#include "versioning/RecordMatching.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace {

// What of a control a pass compares.
enum Aspect : unsigned {
    Type = 1u << 0,
    Screen = 1u << 1,
    Target = 1u << 2, // rOEMCode: the screen a link shows, renumbered with the screens
    Function = 1u << 3,
    Text = 1u << 4,
    GText = 1u << 5,
    Picture = 1u << 6,
    Label = 1u << 7,
    Format = 1u << 8,
    HotKey = 1u << 9,
    Rectangle = 1u << 10,
    Others = 1u << 11, // rHoriz, rVert, rColor, rFlash, rRedGreen, rTabGroup
    All = (1u << 12) - 1,
};

constexpr unsigned Identity =
    Type | Screen | Target | Function | Text | GText | Picture | Label | Format;
// The passes, from the strictest to the loosest; the last one is by likeness.
constexpr unsigned Passes[] = {
    All,                                  // the same control
    All & ~(Screen | Target),             // carried to another screen
    Identity,                             // the same control, moved, resized or re-keyed
    Type | Screen | Function | Rectangle, // in its place under a new caption or picture
};

// A screen of the old version that the new one does not have: compares equal to nothing.
constexpr int64_t GoneScreen = int64_t{1} << 40;

uint64_t Mix(uint64_t seed, uint64_t value) {
    value += 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2);
    value ^= value >> 31;
    value *= 0xBF58476D1CE4E5B9ull;
    return seed ^ (value ^ (value >> 29));
}

uint64_t TextHash(const std::string& text) {
    return std::hash<std::string_view>{}(text);
}

// One version's records with what the passes compare precomputed: the texts' hashes and the
// screen and target numbers as compared (for the old version, as the new one numbers them).
struct Side {
    std::span<const ControlRecord> Records;
    std::vector<int64_t> ScreenKey, TargetKey;
    std::vector<std::array<uint64_t, 5>> Texts; // rText, rGText, rBitMapPath, rLabel, rFormat

    Side(std::span<const ControlRecord> records, const ScreenRenumbering& screens)
        : Records(records), ScreenKey(records.size()), TargetKey(records.size()),
          Texts(records.size()) {
        const auto key = [&](int32_t screen) -> int64_t {
            if (screen < 0 || screen >= ScreenCount) return screen;
            const int32_t mapped = screens.NewOf[static_cast<std::size_t>(screen)];
            return mapped < 0 ? GoneScreen + screen : mapped;
        };
        for (std::size_t i = 0; i < records.size(); ++i) {
            const ControlRecord& r = records[i];
            ScreenKey[i] = key(r.rScreen);
            TargetKey[i] = r.LinksToLayoutScreen() ? key(r.rOEMCode) : r.rOEMCode;
            Texts[i] = {TextHash(r.rText), TextHash(r.rGText), TextHash(r.rBitMapPath),
                        TextHash(r.rLabel), TextHash(r.rFormat)};
        }
    }

    uint64_t Hash(std::size_t i, unsigned aspects) const {
        const ControlRecord& r = Records[i];
        uint64_t h = aspects;
        const auto add = [&h](uint64_t v) { h = Mix(h, v); };
        const auto longs = [&](std::initializer_list<int32_t> values) {
            for (int32_t v : values)
                add(static_cast<uint32_t>(v));
        };
        if (aspects & Type) longs({r.rType});
        if (aspects & Screen) add(static_cast<uint64_t>(ScreenKey[i]));
        if (aspects & Target) add(static_cast<uint64_t>(TargetKey[i]));
        if (aspects & Function) longs({r.rFunction});
        for (unsigned k = 0; k < 5; ++k)
            if (aspects & (Text << k)) add(Texts[i][k]);
        if (aspects & HotKey) longs({r.rHotKey});
        if (aspects & Rectangle) longs({r.rX1, r.rY1, r.rX2, r.rY2});
        if (aspects & Others)
            longs({r.rHoriz, r.rVert, r.rColor, r.rFlash, r.rRedGreen, r.rTabGroup});
        return h;
    }
};

// The aspects in which old record i and new record j differ.
unsigned Differences(const Side& old, std::size_t i, const Side& now, std::size_t j,
                     unsigned aspects) {
    const ControlRecord& a = old.Records[i];
    const ControlRecord& b = now.Records[j];
    unsigned differ = 0;
    if ((aspects & Type) && a.rType != b.rType) differ |= Type;
    if ((aspects & Screen) && old.ScreenKey[i] != now.ScreenKey[j]) differ |= Screen;
    if ((aspects & Target) && old.TargetKey[i] != now.TargetKey[j]) differ |= Target;
    if ((aspects & Function) && a.rFunction != b.rFunction) differ |= Function;
    if ((aspects & Text) && a.rText != b.rText) differ |= Text;
    if ((aspects & GText) && a.rGText != b.rGText) differ |= GText;
    if ((aspects & Picture) && a.rBitMapPath != b.rBitMapPath) differ |= Picture;
    if ((aspects & Label) && a.rLabel != b.rLabel) differ |= Label;
    if ((aspects & Format) && a.rFormat != b.rFormat) differ |= Format;
    if ((aspects & HotKey) && a.rHotKey != b.rHotKey) differ |= HotKey;
    if ((aspects & Rectangle) &&
        (a.rX1 != b.rX1 || a.rY1 != b.rY1 || a.rX2 != b.rX2 || a.rY2 != b.rY2))
        differ |= Rectangle;
    if ((aspects & Others) &&
        (a.rHoriz != b.rHoriz || a.rVert != b.rVert || a.rColor != b.rColor ||
         a.rFlash != b.rFlash || a.rRedGreen != b.rRedGreen || a.rTabGroup != b.rTabGroup))
        differ |= Others;
    return differ;
}

// How far apart two texts are, from 0 (equal) to 1: the share of the longer that is not in
// their common beginning and end. "Jog" and "Jog+" are close; "Jog" and "Cycle Start" are not.
double TextDistance(const std::string& a, const std::string& b) {
    const std::size_t shorter = std::min(a.size(), b.size());
    const std::size_t longer = std::max(a.size(), b.size());
    if (longer == 0) return 0;
    std::size_t same = 0;
    while (same < shorter && a[same] == b[same])
        ++same;
    std::size_t tail = 0;
    while (tail < shorter - same && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    return 1.0 - static_cast<double>(same + tail) / static_cast<double>(longer);
}

// Among records as many properties apart, which are closer: how far the rectangle moved, in
// pixels, and how much the texts changed, a whole text counting as a thousand pixels.
double Unlikeness(const ControlRecord& a, const ControlRecord& b) {
    const auto apart = [](int32_t x, int32_t y) {
        return std::abs(static_cast<double>(x) - static_cast<double>(y));
    };
    double unlike =
        apart(a.rX1, b.rX1) + apart(a.rY1, b.rY1) + apart(a.rX2, b.rX2) + apart(a.rY2, b.rY2);
    for (std::string ControlRecord::*text :
         {&ControlRecord::rText, &ControlRecord::rGText, &ControlRecord::rBitMapPath,
          &ControlRecord::rLabel, &ControlRecord::rFormat})
        unlike += 1000.0 * TextDistance(a.*text, b.*text);
    return unlike;
}

int Popcount(unsigned bits) {
    int n = 0;
    for (; bits != 0; bits &= bits - 1)
        ++n;
    return n;
}

// Indices of the longest strictly increasing subsequence of `values`.
std::vector<std::size_t> LongestIncreasing(const std::vector<int>& values) {
    std::vector<std::size_t> tails;                    // index of the smallest tail per length
    std::vector<std::size_t> before(values.size(), 0); // predecessor in the run ending here
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), values[i],
                                         [&](std::size_t t, int v) { return values[t] < v; });
        if (at != tails.begin()) before[i] = *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<std::size_t> run(tails.size());
    if (!tails.empty()) {
        std::size_t k = tails.back();
        for (std::size_t n = tails.size(); n-- > 0; k = before[k])
            run[n] = k;
    }
    return run;
}

class Matcher {
public:
    Matcher(const Side& old, const Side& now)
        : NewOfOld(old.Records.size(), -1), OldOfNew(now.Records.size(), -1), Old(old), Now(now) {}

    void Run() {
        ExactPass();
        for (std::size_t p = 1; p < std::size(Passes); ++p)
            KeyPass(Passes[p]);
        LikenessPass();
    }

    std::vector<int> NewOfOld, OldOfNew;

private:
    void Pair(int i, int j) {
        NewOfOld[static_cast<std::size_t>(i)] = j;
        OldOfNew[static_cast<std::size_t>(j)] = i;
    }

    // Where the anchors put old record i in the new version.
    double Expect(int i) const {
        if (Anchors.empty())
            return Old.Records.empty() ? 0.0
                                       : static_cast<double>(i) * Now.Records.size() /
                                             static_cast<double>(Old.Records.size());
        auto at = std::upper_bound(Anchors.begin(), Anchors.end(), std::pair{i, INT32_MAX});
        if (at == Anchors.begin()) return at->second - (at->first - i);
        --at;
        return at->second + (i - at->first);
    }

    struct Bucket {
        std::vector<int> Olds, News;
    };

    // Records left unmatched, grouped by the hash of the aspects; both lists in record order.
    std::unordered_map<uint64_t, Bucket> Group(unsigned aspects) const {
        std::unordered_map<uint64_t, Bucket> buckets;
        buckets.reserve(Old.Records.size() + Now.Records.size());
        for (std::size_t i = 0; i < NewOfOld.size(); ++i)
            if (NewOfOld[i] < 0) buckets[Old.Hash(i, aspects)].Olds.push_back(static_cast<int>(i));
        for (std::size_t j = 0; j < OldOfNew.size(); ++j)
            if (OldOfNew[j] < 0) {
                const auto at = buckets.find(Now.Hash(j, aspects));
                if (at != buckets.end()) at->second.News.push_back(static_cast<int>(j));
            }
        return buckets;
    }

    // Calls `pairUp` for each set of records that are truly equal in the aspects (a shared hash
    // is not proof).
    template <typename F> void ForEachClass(const Bucket& bucket, unsigned aspects, F pairUp) {
        if (bucket.Olds.empty() || bucket.News.empty()) return;
        std::vector<int> olds = bucket.Olds, news = bucket.News;
        while (!olds.empty() && !news.empty()) {
            const std::size_t first = static_cast<std::size_t>(olds.front());
            std::vector<int> sameOld, sameNew, restOld, restNew;
            for (int i : olds)
                (Differences(Old, first, Old, static_cast<std::size_t>(i), aspects) == 0 ? sameOld
                                                                                         : restOld)
                    .push_back(i);
            for (int j : news)
                (Differences(Old, first, Now, static_cast<std::size_t>(j), aspects) == 0 ? sameNew
                                                                                         : restNew)
                    .push_back(j);
            pairUp(sameOld, sameNew);
            olds = std::move(restOld);
            news = std::move(restNew);
        }
    }

    void ExactPass() {
        const auto buckets = Group(All);
        // Records unique on both sides anchor the common order: the longest run of them that
        // keeps its order.
        std::vector<std::pair<int, int>> unique;
        for (const auto& [hash, bucket] : buckets)
            if (bucket.Olds.size() == 1 && bucket.News.size() == 1)
                ForEachClass(bucket, All, [&](const auto& olds, const auto& news) {
                    if (!olds.empty() && !news.empty()) unique.emplace_back(olds[0], news[0]);
                });
        std::sort(unique.begin(), unique.end());
        std::vector<int> order;
        for (const auto& [i, j] : unique)
            order.push_back(j);
        for (std::size_t k : LongestIncreasing(order))
            Anchors.push_back(unique[k]);
        for (const auto& [i, j] : unique)
            Pair(i, j);
        for (const auto& [hash, bucket] : buckets)
            if (bucket.Olds.size() > 1 || bucket.News.size() > 1)
                ForEachClass(bucket, All,
                             [&](const auto& olds, const auto& news) { PairInOrder(olds, news); });
    }

    void KeyPass(unsigned aspects) {
        const auto buckets = Group(aspects);
        // Pairs are taken in record order, so the outcome does not depend on the hash table.
        std::vector<const Bucket*> ordered;
        for (const auto& [hash, bucket] : buckets)
            if (!bucket.Olds.empty() && !bucket.News.empty()) ordered.push_back(&bucket);
        std::sort(ordered.begin(), ordered.end(),
                  [](const Bucket* a, const Bucket* b) { return a->Olds[0] < b->Olds[0]; });
        for (const Bucket* bucket : ordered)
            ForEachClass(*bucket, aspects,
                         [&](const auto& olds, const auto& news) { PairInOrder(olds, news); });
    }

    // Pairs as many as the smaller list holds, in order, each as near as can be to where the
    // common order expects it.
    void PairInOrder(const std::vector<int>& olds, const std::vector<int>& news) {
        const std::size_t a = olds.size(), b = news.size();
        if (a == 0 || b == 0) return;
        if (a == b) {
            for (std::size_t k = 0; k < a; ++k)
                Pair(olds[k], news[k]);
            return;
        }
        // The smaller list goes whole into the larger, keeping order, at the least total
        // distance from the expected places.
        const bool oldsSmaller = a < b;
        const std::size_t small = std::min(a, b), large = std::max(a, b);
        const auto cost = [&](std::size_t s, std::size_t l) {
            const int i = oldsSmaller ? olds[s] : olds[l];
            const int j = oldsSmaller ? news[l] : news[s];
            return std::abs(Expect(i) - j);
        };
        if (small * large > (std::size_t{1} << 20)) {
            // Too many for the exact search: each of the smaller list, in order, takes the
            // nearest of the larger that still leaves room for the rest, which keeps the order
            // and, among runs of identical controls, pairs each with its own place.
            std::size_t l = 0;
            for (std::size_t s = 0; s < small; ++s) {
                const std::size_t last = large - (small - s);
                while (l < last && cost(s, l + 1) <= cost(s, l))
                    ++l;
                if (oldsSmaller)
                    Pair(olds[s], news[l]);
                else
                    Pair(olds[l], news[s]);
                ++l;
            }
            return;
        }
        const double infinity = 1e300;
        std::vector<double> row(large + 1, 0.0), next(large + 1);
        std::vector<bool> took(small * large, false);
        for (std::size_t s = 1; s <= small; ++s) {
            std::fill(next.begin(), next.end(), infinity);
            for (std::size_t l = s; l <= large; ++l) {
                const double skip = next[l - 1];
                const double take = row[l - 1] + cost(s - 1, l - 1);
                if (take <= skip) {
                    next[l] = take;
                    took[(s - 1) * large + (l - 1)] = true;
                } else {
                    next[l] = skip;
                }
            }
            std::swap(row, next);
        }
        for (std::size_t s = small, l = large; s > 0 && l > 0; --l) {
            if (!took[(s - 1) * large + (l - 1)]) continue;
            --s;
            if (oldsSmaller)
                Pair(olds[s], news[l - 1]);
            else
                Pair(olds[l - 1], news[s]);
        }
    }

    // On one screen, a control with one or two of its properties changed (one, when its kind
    // changed): the nearest such pair first.
    void LikenessPass() {
        constexpr unsigned Compared = All & ~Screen;
        constexpr std::size_t Window = 64;
        std::unordered_map<int64_t, Bucket> screens;
        for (std::size_t i = 0; i < NewOfOld.size(); ++i)
            if (NewOfOld[i] < 0) screens[Old.ScreenKey[i]].Olds.push_back(static_cast<int>(i));
        for (std::size_t j = 0; j < OldOfNew.size(); ++j)
            if (OldOfNew[j] < 0) {
                const auto at = screens.find(Now.ScreenKey[j]);
                if (at != screens.end()) at->second.News.push_back(static_cast<int>(j));
            }
        struct Candidate {
            int Cost;
            double Unlikeness, Distance;
            int Old, New;
            bool operator<(const Candidate& o) const {
                return std::tie(Cost, Unlikeness, Distance, Old, New) <
                       std::tie(o.Cost, o.Unlikeness, o.Distance, o.Old, o.New);
            }
        };
        std::vector<Candidate> candidates;
        for (const auto& [screen, bucket] : screens) {
            const std::vector<int>& news = bucket.News;
            if (news.empty()) continue;
            const bool all = bucket.Olds.size() * news.size() <= Window * Window;
            for (int i : bucket.Olds) {
                const double expected = Expect(i);
                std::size_t from = 0, to = news.size();
                if (!all) {
                    // Only the new records nearest the expected place are looked at.
                    const auto at = std::lower_bound(news.begin(), news.end(), expected,
                                                     [](int j, double e) { return j < e; });
                    const std::size_t mid = static_cast<std::size_t>(at - news.begin());
                    from = mid > Window / 2 ? mid - Window / 2 : 0;
                    to = std::min(news.size(), from + Window);
                }
                for (std::size_t k = from; k < to; ++k) {
                    const int j = news[k];
                    const unsigned differ = Differences(Old, static_cast<std::size_t>(i), Now,
                                                        static_cast<std::size_t>(j), Compared);
                    const int cost = Popcount(differ);
                    if (cost > 2 || ((differ & Type) && cost > 1)) continue;
                    candidates.push_back({cost,
                                          Unlikeness(Old.Records[static_cast<std::size_t>(i)],
                                                     Now.Records[static_cast<std::size_t>(j)]),
                                          std::abs(expected - j), i, j});
                }
            }
        }
        std::sort(candidates.begin(), candidates.end());
        for (const Candidate& c : candidates)
            if (NewOfOld[static_cast<std::size_t>(c.Old)] < 0 &&
                OldOfNew[static_cast<std::size_t>(c.New)] < 0)
                Pair(c.Old, c.New);
    }

    const Side& Old;
    const Side& Now;
    std::vector<std::pair<int, int>> Anchors; // (old, new), increasing in both
};

// Where the matched records of each old screen went. A record counts as much as it is its own:
// one of n alike on n screens (the background picture, a tab bar) counts 1/n, so the controls that
// make a screen what it is decide where it went. Each screen goes where most of its evidence
// goes, each new number taken once, by the screen with the most evidence for it.
ScreenRenumbering FindRenumbering(const Side& old, std::span<const ControlRecord> newer,
                                  const std::vector<int>& newOfOld) {
    const std::span<const ControlRecord> older = old.Records;
    std::unordered_map<uint64_t, int> alike;
    std::vector<uint64_t> content(older.size());
    for (std::size_t i = 0; i < older.size(); ++i)
        ++alike[content[i] = old.Hash(i, All & ~(Screen | Target))];
    std::array<std::array<double, ScreenCount>, ScreenCount> votes{};
    const auto onLayout = [](int32_t s) { return s >= 0 && s < ScreenCount; };
    for (std::size_t i = 0; i < older.size(); ++i) {
        if (newOfOld[i] < 0) continue;
        const ControlRecord& a = older[i];
        const ControlRecord& b = newer[static_cast<std::size_t>(newOfOld[i])];
        if (onLayout(a.rScreen) && onLayout(b.rScreen))
            votes[static_cast<std::size_t>(a.rScreen)][static_cast<std::size_t>(b.rScreen)] +=
                1.0 / alike[content[i]];
    }
    // Screens with the strongest evidence choose first; each takes the new number most of its
    // evidence points to among those still free, and without evidence keeps its own if free.
    std::array<int, ScreenCount> order{};
    for (int s = 0; s < ScreenCount; ++s)
        order[static_cast<std::size_t>(s)] = s;
    const auto strongest = [&](int s) {
        const auto& row = votes[static_cast<std::size_t>(s)];
        return *std::max_element(row.begin(), row.end());
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return strongest(a) > strongest(b); });
    ScreenRenumbering renumbering;
    std::array<bool, ScreenCount> taken{};
    for (int s : order) {
        const auto& row = votes[static_cast<std::size_t>(s)];
        int best = taken[static_cast<std::size_t>(s)] ? -1 : s;
        for (int t = 0; t < ScreenCount; ++t) {
            const auto votesFor = row[static_cast<std::size_t>(t)];
            if (taken[static_cast<std::size_t>(t)] || votesFor == 0) continue;
            if (best < 0 || votesFor > row[static_cast<std::size_t>(best)]) best = t;
        }
        renumbering.NewOf[static_cast<std::size_t>(s)] = best;
        if (best >= 0) taken[static_cast<std::size_t>(best)] = true;
    }
    return renumbering;
}

} // namespace

ScreenRenumbering::ScreenRenumbering() {
    for (int s = 0; s < ScreenCount; ++s)
        NewOf[static_cast<std::size_t>(s)] = s;
}

bool ScreenRenumbering::IsIdentity() const {
    for (int s = 0; s < ScreenCount; ++s)
        if (NewOf[static_cast<std::size_t>(s)] != s) return false;
    return true;
}

std::optional<int32_t> ScreenRenumbering::Map(int32_t screen) const {
    if (screen < 0 || screen >= ScreenCount) return screen;
    const int32_t mapped = NewOf[static_cast<std::size_t>(screen)];
    if (mapped < 0) return std::nullopt;
    return mapped;
}

std::optional<ControlRecord> ScreenRenumbering::Apply(const ControlRecord& record) const {
    ControlRecord r = record;
    const std::optional<int32_t> screen = Map(r.rScreen);
    if (!screen) return std::nullopt;
    r.rScreen = *screen;
    if (record.LinksToLayoutScreen()) {
        const std::optional<int32_t> target = Map(r.rOEMCode);
        if (!target) return std::nullopt;
        r.rOEMCode = *target;
    }
    return r;
}

RecordMatch MatchRecords(std::span<const ControlRecord> older,
                         std::span<const ControlRecord> newer) {
    RecordMatch result;
    const Side now(newer, ScreenRenumbering{});
    {
        const Side old(older, ScreenRenumbering{});
        Matcher matcher(old, now);
        matcher.Run();
        result.NewOfOld = std::move(matcher.NewOfOld);
        result.OldOfNew = std::move(matcher.OldOfNew);
        result.Screens = FindRenumbering(old, newer, result.NewOfOld);
    }
    if (!result.Screens.IsIdentity()) {
        // Again, with the old screens as the new version numbers them.
        const Side old(older, result.Screens);
        Matcher matcher(old, now);
        matcher.Run();
        result.NewOfOld = std::move(matcher.NewOfOld);
        result.OldOfNew = std::move(matcher.OldOfNew);
    }

    std::vector<int> matchedOld, order;
    for (std::size_t i = 0; i < older.size(); ++i)
        if (result.NewOfOld[i] >= 0) {
            matchedOld.push_back(static_cast<int>(i));
            order.push_back(result.NewOfOld[i]);
        }
    result.Reordered.assign(older.size(), false);
    for (int i : matchedOld)
        result.Reordered[static_cast<std::size_t>(i)] = true;
    std::vector<std::pair<int, int>> kept;
    for (std::size_t k : LongestIncreasing(order)) {
        result.Reordered[static_cast<std::size_t>(matchedOld[k])] = false;
        kept.emplace_back(matchedOld[k], order[k]);
    }
    // A record without a counterpart would have stood just after the kept record before it.
    result.ExpectedNew.assign(older.size(), -0.5);
    std::size_t next = 0;
    double last = -0.5;
    for (std::size_t i = 0; i < older.size(); ++i) {
        if (next < kept.size() && kept[next].first == static_cast<int>(i))
            last = kept[next++].second;
        result.ExpectedNew[i] = result.NewOfOld[i] >= 0 ? result.NewOfOld[i] : last + 0.5;
    }
    return result;
}
