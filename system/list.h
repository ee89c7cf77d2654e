#pragma once
#include <cstddef>
#include <memory>
#include <utility>

// A doubly linked list of object references, appended at the end and walked front to back.
//
// Walks are robust against removal from anywhere, also from calls nested inside the walk:
// a walk visits each element still in the list when it gets there exactly once, in order,
// and skips elements removed before it reaches them. A removed node keeps a reference to the
// node that preceded it, so a walk standing on it finds its way back into the list; elements
// appended during a walk are reached by it.
template <class T>
class TList {
    struct Node {
        std::shared_ptr<T> value;
        std::shared_ptr<Node> next;   // live nodes only
        Node* prev = nullptr;         // live nodes only
        std::shared_ptr<Node> back;   // removed nodes: the live predecessor at removal time
        bool live = true;
    };

public:
    using Ref = std::shared_ptr<T>;

    class Iterator {
    public:
        Iterator() = default;
        explicit Iterator(std::shared_ptr<Node> node) : node_(std::move(node)) {}
        const Ref& operator*() const { return node_->value; }
        const Ref* operator->() const { return &node_->value; }
        Iterator& operator++()
        {
            const Node* n = node_.get();
            while (!n->live)
                n = n->back.get();
            node_ = n->next;
            return *this;
        }
        bool operator==(const Iterator& other) const { return node_ == other.node_; }
        bool operator!=(const Iterator& other) const { return node_ != other.node_; }

    private:
        std::shared_ptr<Node> node_;
    };

    TList() : head_(std::make_shared<Node>()), tail_(head_.get()) {}
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    ~TList() { Clear(); }

    void AddLast(Ref value)
    {
        auto node = std::make_shared<Node>();
        node->value = std::move(value);
        node->prev = tail_;
        tail_->next = node;
        tail_ = node.get();
        ++count_;
    }

    // Removes the first occurrence of value; returns false when it is not in the list.
    bool Remove(const T* value)
    {
        for (Node* n = head_->next.get(); n; n = n->next.get()) {
            if (n->value.get() == value) {
                Unlink(n);
                return true;
            }
        }
        return false;
    }
    bool Remove(const Ref& value) { return Remove(value.get()); }

    bool Contains(const T* value) const
    {
        for (Node* n = head_->next.get(); n; n = n->next.get())
            if (n->value.get() == value)
                return true;
        return false;
    }

    void Clear()
    {
        // Iterative, so a long list does not unwind its nodes recursively.
        while (head_->next)
            Unlink(head_->next.get());
    }

    Ref First() const { return head_->next ? head_->next->value : nullptr; }
    Ref Last() const { return tail_ == head_.get() ? nullptr : tail_->value; }
    std::size_t Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }

    Iterator begin() const { return Iterator(head_->next); }
    Iterator end() const { return Iterator(); }

private:
    void Unlink(Node* n)
    {
        std::shared_ptr<Node> keep = n->prev->next; // n itself, alive until the end of this call
        Node* prev = n->prev;
        n->back = prev == head_.get() ? head_ : prev->prev->next;
        prev->next = n->next;
        if (n->next)
            n->next->prev = prev;
        else
            tail_ = prev;
        n->next.reset();
        n->prev = nullptr;
        n->live = false;
        --count_;
    }

    std::shared_ptr<Node> head_; // sentinel, never removed
    Node* tail_;
    std::size_t count_ = 0;
};
