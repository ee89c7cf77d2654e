#include "app/screens/play_recording.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/shell/build_info.h"
#include "app/storage/replay_store.h"
#include "app/shell/shell_state.h"
#include "app/screens/frame.h"
#include "game/board_hash.h"
#include "game/boom.h"
#include "game/effects.h"
#include "game/firework.h"
#include "game/game.h"
#include "game/settings.h"
#include "system/random.h"
#include "system/stream.h"

TReplayStart CaptureReplayStart()
{
    TReplayStart start;
    start.seed = RandomSeedValue();
    start.tint = effects.tint;
    start.wobble = effects.wobble;
    start.wobblev = effects.wobblev;
    start.flash = effects.flash;
    start.glow = effects.glow;
    start.visibility = settings.visibility;
    start.backtimer = background.backtimer;
    start.backindex = background.backindex;
    start.backprev = background.backprev;
    start.backfade = background.backfade;
    start.backangle = background.backangle;
    for (const auto& f : fireworks)
        start.fireworks.push_back({f->x, f->y, f->xv, f->yv, f->size, f->r, f->g, f->b});
    for (const auto& b : booms)
        start.booms.push_back({b->x, b->y, b->time});
    return start;
}

void RestoreReplayStart(const TReplayStart& start)
{
    SeedRandom(start.seed);
    effects.tint = start.tint;
    effects.wobble = start.wobble;
    effects.wobblev = start.wobblev;
    effects.flash = start.flash;
    effects.glow = start.glow;
    background.backtimer = start.backtimer;
    background.backindex = start.backindex;
    background.backprev = start.backprev;
    background.backfade = start.backfade;
    background.backangle = start.backangle;
    fireworks.Clear();
    for (const TReplayFirework& r : start.fireworks) {
        auto f = std::make_shared<firework>();
        f->x = r.x;
        f->y = r.y;
        f->xv = r.xv;
        f->yv = r.yv;
        f->size = r.size;
        f->r = r.r;
        f->g = r.g;
        f->b = r.b;
        fireworks.AddLast(std::move(f));
    }
    booms.Clear();
    for (const TReplayBoom& r : start.booms) {
        auto b = std::make_shared<boom>();
        b->x = r.x;
        b->y = r.y;
        b->time = r.time;
        booms.AddLast(std::move(b));
    }
}

int64_t RecordedResult(const game& play)
{
    if (play.challenge == TChallenge::None)
        return 0;
    const TChallengeResult result = ResultOf(play.challenge, play.figures, play.points);
    return result.achieved ? result.value : 0;
}

TFrameInput FrameInput(const TControls& c)
{
    return static_cast<TFrameInput>((c.keyrotleft ? InputRotLeft : 0) | (c.keyrotright ? InputRotRight : 0) |
                                    (c.keyleft ? InputLeft : 0) | (c.keyright ? InputRight : 0) |
                                    (c.keyfast ? InputFast : 0) | (c.keyharddrop ? InputHardDrop : 0) |
                                    (c.keyhold ? InputHold : 0));
}

TControls FrameControls(TFrameInput input)
{
    TControls c;
    c.keyrotleft = (input & InputRotLeft) != 0;
    c.keyrotright = (input & InputRotRight) != 0;
    c.keyleft = (input & InputLeft) != 0;
    c.keyright = (input & InputRight) != 0;
    c.keyfast = (input & InputFast) != 0;
    c.keyharddrop = (input & InputHardDrop) != 0;
    c.keyhold = (input & InputHold) != 0;
    return c;
}

namespace {

TReplayStart PlayStart(const game& play)
{
    TReplayStart start = CaptureReplayStart();
    start.options = play.options;
    start.challenge = play.challenge;
    start.day = play.day;
    return start;
}

} // namespace

TPlayRecording::TPlayRecording(const game& play)
    : recorder_(PlayStart(play), play.points, BoardHash(play)), lastShown_(FramesShown())
{
}

void TPlayRecording::AddPlayFrame(const TControls& controls, const game& play)
{
    const uint64_t shown = FramesShown();
    recorder_.AddPauseFrames(shown - lastShown_ - 1);
    lastShown_ = shown;
    recorder_.AddFrame(FrameInput(controls), play.points, BoardHash(play));
    result_ = RecordedResult(play);
}

TReplay TPlayRecording::Finished(const std::string& name, std::time_t when) const
{
    TReplay replay = recorder_.Finish(GameVersion(), ReplayDate(when), name);
    replay.result = result_;
    return replay;
}

void TPlayRecording::Save(const std::string& name)
{
    if (recorder_.Full()) {
        std::fprintf(stderr, "brimstrand: the play was too long to keep as a replay\n");
        return;
    }
    // Without a data folder nothing is kept, which start-up has already said.
    if (ReplayFolder().empty())
        return;
    if (ended_ == 0)
        ended_ = std::time(nullptr);
    const std::string path = SaveReplay(Finished(name, ended_));
    if (path.empty()) {
        std::fprintf(stderr, "brimstrand: the replay of this play could not be saved in %s: %s\n",
                     NativePath(ReplayFolder()).c_str(), std::strerror(errno));
        return;
    }
    if (!saved_.empty() && saved_ != path)
        RemoveReplay(saved_);
    saved_ = path;
}
