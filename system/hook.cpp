#include "system/hook.h"

#include "system/error.h"

namespace {

constexpr int32_t kHookChains = 256;

int32_t hookIdCounter = -1;
std::shared_ptr<THook> chains[kHookChains];

// Ids outside the table name no chain; they are refused rather than indexing past it.
std::shared_ptr<THook>* Chain(int32_t id)
{
    return id >= 0 && id < kHookChains ? &chains[id] : nullptr;
}

} // namespace

int32_t NewHookId()
{
    if (hookIdCounter >= kHookChains - 1)
        throw TRuntimeError("Too many hook ids");
    return ++hookIdCounter;
}

void InsertHook(int32_t id, THookFunc func, void* context, int32_t priority)
{
    std::shared_ptr<THook>* head = Chain(id);
    if (!head)
        throw TRuntimeError("Invalid hook id");
    auto hook = std::make_shared<THook>();
    hook->priority = priority;
    hook->func = func;
    hook->context = context;

    std::shared_ptr<THook>* link = head;
    while (*link && (*link)->priority >= priority)
        link = &(*link)->succ;
    hook->succ = std::move(*link);
    *link = std::move(hook);
}

void* RunHookChain(int32_t id, void* data)
{
    std::shared_ptr<THook>* head = Chain(id);
    if (!head)
        return data;
    // Holding the current hook keeps it alive if its own function deletes it.
    for (std::shared_ptr<THook> hook = *head; hook; hook = hook->succ)
        data = hook->func(id, data, hook->context);
    return data;
}

void DeleteHook(int32_t id, THookFunc func, void* context)
{
    std::shared_ptr<THook>* head = Chain(id);
    if (!head)
        return;
    for (std::shared_ptr<THook>* link = head; *link; link = &(*link)->succ) {
        if ((*link)->func == func && (*link)->context == context) {
            *link = (*link)->succ;
            return;
        }
    }
}
