#pragma once
#include <cstdint>
#include <memory>

// A hook function gets the chain's id, the data returned by the previous hook (or the data the
// chain was run with) and its own context; what it returns is handed to the next hook.
using THookFunc = void* (*)(int32_t id, void* data, void* context);

// One callback in a chain. A hook unlinked while the chain runs keeps its successor, so a run
// standing on it carries on along the chain.
struct THook {
    std::shared_ptr<THook> succ;
    int32_t priority = 0;
    THookFunc func = nullptr;
    void* context = nullptr;
};

// Hands out hook ids 0..255, one per call; the 257th call throws TRuntimeError("Too many hook ids").
int32_t NewHookId();

// Higher priorities run first; equal priorities run in the order they were inserted.
void InsertHook(int32_t id, THookFunc func, void* context, int32_t priority);

// Runs every hook of the chain in order and returns the last result (data if the chain is empty).
void* RunHookChain(int32_t id, void* data);

// Unlinks the first hook whose func and context both match; nothing if none does.
void DeleteHook(int32_t id, THookFunc func, void* context);
