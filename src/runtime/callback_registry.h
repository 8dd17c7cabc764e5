// The registry behind key clients, navigation devices and range handlers: records in
// registration order, each found by its handle, the complement of the callback it was
// registered with (the first match wins). Removal closes the gap.
//
// One thread (the simulator's) adds and removes; others may read at the same time without a
// lock. An array's first `count` entries never change once published: it grows into a new
// array, published with one store, and a record is appended past the count before the count
// takes it in. The arrays it outgrew stay readable for a reader's snapshot. Reading neither
// locks nor allocates.
//
// With kKeepRemoved (records that readers on other threads walk and call into), removal also
// publishes a new array instead of moving entries under a reader, which could make it skip a
// record that stays; a removed record is marked (Removed) and kept, with the arrays retired,
// while any snapshot is held: the adding thread frees them once it sees no reader at all.
// Without it, removal closes the gap in place, frees the record at once, and retired arrays
// are kept until Clear. Clear (the module's unload) waits, for a bounded time by the clock,
// for the readers that are in; what a reader still holds after that is never freed under it.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "platform/kernel.h"
#include "runtime/address_word.h"

namespace runtime {

template <class Record, bool kKeepRemoved = false>
class CallbackRegistry {
    struct Node : Record {
        Node* retired = nullptr;
        std::atomic<bool> removed{false};
    };
    struct Array {
        size_t capacity;
        std::atomic<size_t> count;
        Array* retired;
        std::atomic<Node*>* items;  // capacity entries, in the same block after the header
        std::atomic<Node*>* Items() const { return items; }
    };

  public:
    // What a reader holds: the records as they stood. With kKeepRemoved they stay readable
    // while the snapshot lives; otherwise until the next Clear (removed records excepted).
    class Snapshot {
      public:
        Snapshot(const Snapshot& other)
            : owner_(other.owner_), array_(other.array_), count_(other.count_) {
            Enter();
        }
        Snapshot& operator=(const Snapshot&) = delete;
        ~Snapshot() { Leave(); }

        size_t size() const { return count_; }
        Record* operator[](size_t i) const {
            return array_->Items()[i].load(std::memory_order_acquire);
        }

        class iterator {
          public:
            iterator(const Snapshot* snapshot, size_t i) : snapshot_(snapshot), i_(i) {}
            Record* operator*() const { return (*snapshot_)[i_]; }
            iterator& operator++() {
                ++i_;
                return *this;
            }
            bool operator!=(const iterator& other) const { return i_ != other.i_; }

          private:
            const Snapshot* snapshot_;
            size_t i_;
        };
        iterator begin() const { return iterator(this, 0); }
        iterator end() const { return iterator(this, count_); }

      private:
        friend class CallbackRegistry;
        // Counted in before the array is read: a writer that then sees no reader knows that
        // every later reader finds the array it has just published.
        explicit Snapshot(const CallbackRegistry* owner) : owner_(owner) {
            Enter();
            array_ = owner->current_.load(std::memory_order_seq_cst);
            count_ = array_ ? array_->count.load(std::memory_order_seq_cst) : 0;
        }
        void Enter() const {
            if (kKeepRemoved)
                owner_->readers_.fetch_add(1, std::memory_order_seq_cst);
        }
        void Leave() const {
            if (kKeepRemoved)
                owner_->readers_.fetch_sub(1, std::memory_order_release);
        }
        const CallbackRegistry* owner_;
        Array* array_ = nullptr;
        size_t count_ = 0;
    };

    CallbackRegistry() = default;
    ~CallbackRegistry() { Clear(); }
    CallbackRegistry(const CallbackRegistry&) = delete;
    CallbackRegistry& operator=(const CallbackRegistry&) = delete;

    template <class Callback>
    static uint32_t HandleOf(Callback callback) {
        return ~AddressWord(callback);
    }

    // True once the record has been removed; for a reader that holds it in a snapshot.
    static bool Removed(const Record* record) {
        return static_cast<const Node*>(record)->removed.load(std::memory_order_acquire);
    }

    Snapshot Read() const { return Snapshot(this); }

    // These four hand out records past the snapshot they take: for the adding thread. A
    // reader on another thread keeps a Snapshot while it uses a record.
    size_t Count() const { return Read().size(); }
    Record* At(size_t i) const {
        const Snapshot s = Read();
        return i < s.size() ? s[i] : nullptr;
    }
    // The first record with that handle, or null.
    Record* Find(uint32_t handle) const {
        const Snapshot s = Read();
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i]->handle == handle)
                return s[i];
        }
        return nullptr;
    }
    // The record's position, or Count() when it is not registered.
    size_t IndexOf(const Record* record) const {
        const Snapshot s = Read();
        size_t i = 0;
        while (i < s.size() && s[i] != record)
            ++i;
        return i;
    }

    // Room for `capacity` records without growing again; false when memory runs out.
    bool Reserve(size_t capacity) noexcept {
        Array* array = current_.load(std::memory_order_relaxed);
        if (array != nullptr && array->capacity >= capacity)
            return true;
        const size_t count = array ? array->count.load(std::memory_order_relaxed) : 0;
        return Publish(Copy(array, count, capacity, count));
    }

    // Appends a record for `callback`: its handle is set, then `fill` completes it before any
    // reader can see it. The handle, or 0 when memory runs out (nothing is added then).
    template <class Callback, class Fill>
    uint32_t Add(Callback callback, Fill&& fill) noexcept {
        Node* node = new (std::nothrow) Node();
        if (node == nullptr)
            return 0;
        node->handle = HandleOf(callback);
        try {
            fill(static_cast<Record&>(*node));
        } catch (const std::bad_alloc&) {
            delete node;
            return 0;
        }
        Array* array = current_.load(std::memory_order_relaxed);
        const size_t count = array ? array->count.load(std::memory_order_relaxed) : 0;
        if (array == nullptr || count == array->capacity) {
            if (!Publish(Copy(array, count, count < 4 ? 8 : 2 * count, count))) {
                delete node;
                return 0;
            }
            array = current_.load(std::memory_order_relaxed);
        }
        // Past the count: no reader looks at this entry until the count takes it in.
        array->Items()[count].store(node, std::memory_order_release);
        array->count.store(count + 1, std::memory_order_release);
        Reclaim();
        return node->handle;
    }

    // Takes the record out, closing the gap; false when it is not registered.
    bool Remove(Record* record) noexcept {
        Array* array = current_.load(std::memory_order_relaxed);
        const size_t count = array ? array->count.load(std::memory_order_relaxed) : 0;
        size_t at = 0;
        while (at < count && array->Items()[at].load(std::memory_order_relaxed) != record)
            ++at;
        if (at == count)
            return false;
        Node* node = static_cast<Node*>(record);
        node->removed.store(true, std::memory_order_release);
        if (!kKeepRemoved || !Publish(Copy(array, count, array->capacity, at))) {
            // In place (out of memory, with kKeepRemoved): a reader may then miss the record
            // after this one for a moment; every record stays readable.
            std::atomic<Node*>* items = array->Items();
            for (size_t i = at; i + 1 < count; ++i)
                items[i].store(items[i + 1].load(std::memory_order_relaxed),
                               std::memory_order_release);
            array->count.store(count - 1, std::memory_order_release);
        }
        if (kKeepRemoved) {
            node->retired = removed_;
            removed_ = node;
            Reclaim();
        } else {
            delete node;
        }
        return true;
    }

    // How long Clear waits for readers that are in (with kKeepRemoved).
    static constexpr DWORD kClearWaitMs = 500;

    // Empties the registry: readers from now on find no record. Destroys every record and
    // array once no reader holds a snapshot (with kKeepRemoved), waiting for readers that are
    // in at most kClearWaitMs; false when one was still in then (a thread stopped inside a
    // lookup): its records and arrays are kept for a later Clear.
    bool Clear() noexcept {
        Array* array = current_.exchange(nullptr, std::memory_order_seq_cst);
        if (array != nullptr) {
            array->retired = cleared_;
            cleared_ = array;
        }
        if (kKeepRemoved && !NoReaderWithin(kClearWaitMs))
            return false;
        while (cleared_ != nullptr) {
            Array* older = cleared_->retired;
            const size_t count = cleared_->count.load(std::memory_order_relaxed);
            for (size_t i = 0; i < count; ++i)
                delete cleared_->Items()[i].load(std::memory_order_relaxed);
            Free(cleared_);
            cleared_ = older;
        }
        FreeRetired();
        return true;
    }

  private:
    // A new array of `capacity` holding the first `count` records but the one at `skip`
    // (none when skip >= count); null when memory runs out.
    static Array* Copy(Array* from, size_t count, size_t capacity, size_t skip) noexcept {
        void* block =
            ::operator new(sizeof(Array) + capacity * sizeof(std::atomic<Node*>), std::nothrow);
        if (block == nullptr)
            return nullptr;
        auto* items =
            reinterpret_cast<std::atomic<Node*>*>(static_cast<char*>(block) + sizeof(Array));
        size_t kept = 0;
        for (size_t i = 0; i < count; ++i) {
            if (i != skip)
                new (&items[kept++])
                    std::atomic<Node*>(from->Items()[i].load(std::memory_order_relaxed));
        }
        for (size_t i = kept; i < capacity; ++i)
            new (&items[i]) std::atomic<Node*>(nullptr);
        return new (block) Array{capacity, {kept}, nullptr, items};
    }

    // Makes `array` the current one; the one it replaces is retired, not freed.
    bool Publish(Array* array) noexcept {
        if (array == nullptr)
            return false;
        Array* old = current_.exchange(array, std::memory_order_seq_cst);
        if (old != nullptr) {
            old->retired = retired_;
            retired_ = old;
        }
        return true;
    }

    // Frees what was retired when no reader holds a snapshot. A reader counted in after the
    // check below reads the arrays and counts stored before it, so none of what is freed.
    void Reclaim() noexcept {
        if (!kKeepRemoved)
            return;
        std::atomic_thread_fence(std::memory_order_seq_cst);
        if (readers_.load(std::memory_order_seq_cst) == 0)
            FreeRetired();
    }

    // A reader counted in after the registry was emptied finds no array: once the count is 0,
    // nobody holds what was current. Counted by the clock: one sleep can last a timer tick.
    bool NoReaderWithin(DWORD milliseconds) const noexcept {
        const DWORD began = platform::GetTickCount();
        while (readers_.load(std::memory_order_seq_cst) != 0) {
            if (platform::GetTickCount() - began >= milliseconds)
                return false;
            platform::Sleep(1);
        }
        return true;
    }

    void FreeRetired() noexcept {
        while (retired_ != nullptr) {
            Array* older = retired_->retired;
            Free(retired_);
            retired_ = older;
        }
        while (removed_ != nullptr) {
            Node* next = removed_->retired;
            delete removed_;
            removed_ = next;
        }
    }

    static void Free(Array* array) {
        array->~Array();
        ::operator delete(array);
    }

    std::atomic<Array*> current_{nullptr};
    Array* retired_ = nullptr;  // replaced arrays, newest first
    Node* removed_ = nullptr;   // removed records (kKeepRemoved), newest first
    Array* cleared_ = nullptr;  // emptied by Clear, records and all, while readers held them
    mutable std::atomic<int32_t> readers_{0};
};

}  // namespace runtime
