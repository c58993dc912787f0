#pragma once

// The memos' table: ways already walked, by what they reached, in one array probed in
// line (looked up at nearly every branch). Entries lie in blocks that never move, so that
// growing copies nothing and touches no more memory than it keeps.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

#include "search/solver/terms.h"

namespace solver {

// What a way reached, as far as a memo tells ways apart.
struct MemoKey {
    Five St{};
    Five Sl{};
    int32_t Ring = 0;
    int32_t Yard = 0;
    int32_t Py = 0;
    int32_t Club = 0;
    int32_t PP = 0;
    friend bool operator==(const MemoKey&, const MemoKey&) = default;
};

inline uint64_t HashOf(const MemoKey& k) {
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](int32_t v) { h = (h ^ static_cast<uint32_t>(v)) * 1099511628211ull; };
    for (int i = 0; i < kStatCount; ++i) {
        mix(k.St[i]);
        mix(k.Sl[i]);
    }
    for (const int32_t v : {k.Ring, k.Yard, k.Py, k.Club, k.PP}) {
        mix(v);
    }
    return h ^ (h >> 29);
}

template <class Value>
class Table {
public:
    Value* Find(const MemoKey& key) {
        if (slots_.empty()) {
            return nullptr;
        }
        const uint64_t h = Hash(key);
        for (size_t i = h & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.Hash == 0) {
                return nullptr;
            }
            if (slot.Hash == h && At(slot.At).first == key) {
                return &At(slot.At).second;
            }
        }
    }
    // `key` must not be in the table.
    Value& Insert(const MemoKey& key, Value value) {
        if ((size_ + 1) * 2 > slots_.size()) {
            Grow();
        }
        if (size_ == blocks_.size() * kBlock) {
            blocks_.push_back(std::make_unique<Entry[]>(kBlock));
        }
        Place(Hash(key), static_cast<uint32_t>(size_));
        Entry& entry = At(size_++);
        entry.first = key;
        entry.second = std::move(value);
        return entry.second;
    }
    size_t Size() const { return size_; }
    // The bytes the next Insert takes beyond what the table holds: a block of entries
    // where the last is full, a larger index where it would be over half full.
    size_t Growth() const {
        size_t bytes = size_ == blocks_.size() * kBlock ? kBlock * sizeof(Entry) : 0;
        if ((size_ + 1) * 2 > slots_.size()) {
            bytes += (std::max<size_t>(64, slots_.size() * 2) - slots_.size()) * sizeof(Slot);
        }
        return bytes;
    }
    // Memory an entry's value holds beside the table, counted until the table is emptied.
    void HoldsBeside(size_t bytes) { beside_ += bytes; }
    // Empty, keeping its entries' memory for the next walk; the index only where the
    // last walk filled it well, so that emptying never costs much more than filling.
    // Values that hold memory of their own let it go. Returns the bytes given back.
    size_t Clear() {
        size_t freed = beside_;
        if (size_ * 8 >= slots_.size()) {
            std::fill(slots_.begin(), slots_.end(), Slot{});
        } else {
            freed += slots_.size() * sizeof(Slot);
            slots_ = {};
            mask_ = 0;
        }
        if constexpr (!std::is_trivially_destructible_v<Value>) {
            for (size_t k = 0; k < size_; ++k) {
                At(k).second = Value{};
            }
        }
        beside_ = 0;
        size_ = 0;
        return freed;
    }

private:
    using Entry = std::pair<MemoKey, Value>;
    static constexpr size_t kBlock = 512;
    struct Slot {
        uint64_t Hash = 0;  // 0: empty
        uint32_t At = 0;
    };
    static uint64_t Hash(const MemoKey& key) { return HashOf(key) | 1; }
    Entry& At(size_t k) { return blocks_[k / kBlock][k % kBlock]; }
    void Place(uint64_t h, uint32_t at) {
        size_t i = h & mask_;
        while (slots_[i].Hash != 0) {
            i = (i + 1) & mask_;
        }
        slots_[i] = {h, at};
    }
    void Grow() {
        const size_t n = std::max<size_t>(64, slots_.size() * 2);
        slots_.assign(n, Slot{});
        mask_ = n - 1;
        for (size_t k = 0; k < size_; ++k) {
            Place(Hash(At(k).first), static_cast<uint32_t>(k));
        }
    }
    std::vector<Slot> slots_;
    std::vector<std::unique_ptr<Entry[]>> blocks_;
    size_t size_ = 0;
    size_t mask_ = 0;
    size_t beside_ = 0;
};

// The way first to reach a key: the fewest changes, then the lowest indices.
struct Way {
    int32_t Changes;
    BuildFields Fields;
};

// Figures no rest of the build can make equal: control and accuracy (without a penalty),
// spin, curve, ring and yard, power yards.
using Apart = std::array<int32_t, 6>;
struct Crowd {
    Apart Figures;
    int32_t Changes;
    BuildFields Fields;
};

// A remembered price: what Units::Cheapest or Units::Most answered for one set of caps
// (packed six bits a cap) and one argument.
struct Remembered {
    uint64_t Caps = 0;  // 0: empty
    int64_t Arg = 0;
    int64_t Value = 0;
};

// The memos' tables of one thread, kept from one walk to the next of a search: emptied,
// not freed.
struct Scratch {
    std::vector<Table<Way>> Seen;
    std::vector<Table<std::vector<Crowd>>> Crowds;
    size_t Held = 0;  // the bytes all these tables hold, kept from walk to walk
    // Prices the bounds asked, kept for every walk of the thread: they depend on nothing
    // but their caps and argument. Made on first use.
    std::vector<Remembered> Cheapest;
    std::vector<Remembered> Most;
};

}  // namespace solver
