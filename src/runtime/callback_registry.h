// The registry behind key clients, navigation devices and range handlers: records in
// registration order, each found by its handle, the complement of the callback it was
// registered with (the first match wins). Removal closes the gap.
//
// One thread (the simulator's) adds and removes; others may read at the same time without a
// lock. The array of records is never changed under a reader: it grows into a new array,
// published with one store, and every array it outgrew is kept until Clear, so a reader's
// snapshot stays readable. Reading neither locks nor allocates. With kKeepRemoved, a removed
// record is kept until Clear as well, for records that readers on other threads call into.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "runtime/address_word.h"

namespace runtime {

template <class Record, bool kKeepRemoved = false>
class CallbackRegistry {
    struct Node : Record {
        Node* retired = nullptr;
    };
    struct Array {
        size_t capacity;
        std::atomic<size_t> count;
        Array* retired;
        std::atomic<Node*>* items;  // capacity entries, in the same block after the header
        std::atomic<Node*>* Items() const { return items; }
    };

  public:
    // What a reader holds: the records as they stood, valid until the next Clear.
    class Snapshot {
      public:
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
        Snapshot(Array* array, size_t count) : array_(array), count_(count) {}
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

    Snapshot Read() const {
        Array* array = current_.load(std::memory_order_acquire);
        return array ? Snapshot(array, array->count.load(std::memory_order_acquire))
                     : Snapshot(nullptr, 0);
    }
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
        return (array != nullptr && array->capacity >= capacity) || Grow(capacity);
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
            if (!Grow(count < 4 ? 8 : 2 * count)) {
                delete node;
                return 0;
            }
            array = current_.load(std::memory_order_relaxed);
        }
        array->Items()[count].store(node, std::memory_order_release);
        array->count.store(count + 1, std::memory_order_release);
        return node->handle;
    }

    // Takes the record out, closing the gap; false when it is not registered.
    bool Remove(Record* record) noexcept {
        Array* array = current_.load(std::memory_order_relaxed);
        const size_t count = array ? array->count.load(std::memory_order_relaxed) : 0;
        const size_t at = IndexOf(record);
        if (at == count)
            return false;
        std::atomic<Node*>* items = array->Items();
        for (size_t i = at; i + 1 < count; ++i)
            items[i].store(items[i + 1].load(std::memory_order_relaxed), std::memory_order_release);
        array->count.store(count - 1, std::memory_order_release);
        Node* node = static_cast<Node*>(record);
        if (kKeepRemoved) {
            node->retired = removed_;
            removed_ = node;
        } else {
            delete node;
        }
        return true;
    }

    // Destroys every record and array. Only when no reader can be running (load, unload).
    void Clear() noexcept {
        Array* array = current_.exchange(nullptr, std::memory_order_acq_rel);
        if (array != nullptr) {
            const size_t count = array->count.load(std::memory_order_relaxed);
            for (size_t i = 0; i < count; ++i)
                delete array->Items()[i].load(std::memory_order_relaxed);
        }
        while (array != nullptr) {
            Array* older = array->retired;
            Free(array);
            array = older;
        }
        while (removed_ != nullptr) {
            Node* next = removed_->retired;
            delete removed_;
            removed_ = next;
        }
    }

  private:
    // Copies the records into a new array of `capacity` and publishes it; the old one is
    // kept, linked behind the new, until Clear.
    bool Grow(size_t capacity) noexcept {
        Array* old = current_.load(std::memory_order_relaxed);
        const size_t count = old ? old->count.load(std::memory_order_relaxed) : 0;
        void* block =
            ::operator new(sizeof(Array) + capacity * sizeof(std::atomic<Node*>), std::nothrow);
        if (block == nullptr)
            return false;
        auto* items =
            reinterpret_cast<std::atomic<Node*>*>(static_cast<char*>(block) + sizeof(Array));
        for (size_t i = 0; i < capacity; ++i) {
            Node* node = i < count ? old->Items()[i].load(std::memory_order_relaxed) : nullptr;
            new (&items[i]) std::atomic<Node*>(node);
        }
        Array* array = new (block) Array{capacity, {count}, old, items};
        current_.store(array, std::memory_order_release);
        return true;
    }

    static void Free(Array* array) {
        array->~Array();
        ::operator delete(array);
    }

    std::atomic<Array*> current_{nullptr};
    Node* removed_ = nullptr;
};

}  // namespace runtime
