#pragma once

// Registries of drivers, loaders and factories: singly linked through each object's _succ, newest first.
template <class T>
void LinkAtHead(T*& head, T* item)
{
    item->_succ = head;
    head = item;
}

template <class T>
void Unlink(T*& head, const T* item)
{
    for (T** link = &head; *link; link = &(*link)->_succ) {
        if (*link == item) {
            *link = item->_succ;
            return;
        }
    }
}
