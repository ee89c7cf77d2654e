#pragma once
// A system driver that delivers scripted events, for tests of what sits above the pump.
#include <deque>
#include <functional>
#include <memory>

#include "system/event.h"
#include "system/sysdriver.h"

class FakeSystemDriver : public TSystemDriver {
public:
    FakeSystemDriver() : previous_(InstallSystemDriver(this)) {}
    ~FakeSystemDriver() override { InstallSystemDriver(previous_); }
    FakeSystemDriver(const FakeSystemDriver&) = delete;
    FakeSystemDriver& operator=(const FakeSystemDriver&) = delete;

    // Poll emits everything queued; Wait first queues what the next wait brings, then polls.
    void Queue(std::shared_ptr<TEvent> event) { pending.push_back(std::move(event)); }
    void QueueOnWait(std::shared_ptr<TEvent> event) { onWait.push_back(std::move(event)); }

    void Poll() override
    {
        ++polls;
        if (onPoll)
            onPoll();
        while (!pending.empty()) {
            const auto event = pending.front();
            pending.pop_front();
            event->Emit();
        }
    }
    void Wait() override
    {
        ++waits;
        if (!onWait.empty()) {
            pending.push_back(onWait.front());
            onWait.pop_front();
        }
        Poll();
    }
    void MoveMouse(int32_t, int32_t) override {}
    void SetMouseVisible(int32_t) override {}
    void Notify(const std::string&, int32_t) override {}
    int32_t Confirm(const std::string&, int32_t) override { return 0; }
    int32_t Proceed(const std::string&, int32_t) override { return -1; }
    std::string RequestFile(const std::string&, const std::string&, int32_t, const std::string&) override
    {
        return {};
    }
    std::string RequestDir(const std::string&, const std::string&) override { return {}; }
    int32_t OpenURL(const std::string&) override { return 0; }

    int polls = 0, waits = 0;
    std::function<void()> onPoll;
    std::deque<std::shared_ptr<TEvent>> pending, onWait;

private:
    TSystemDriver* previous_;
};
