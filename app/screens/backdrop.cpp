#include "app/screens/backdrop.h"

#include "app/shell/canvas.h"
#include "app/shell/flash_limit.h"
#include "app/shell/passing_notice.h"
#include "app/shell/shell_state.h"
#include "app/shell/sound.h"
#include "audio/sound.h"
#include "draw2d/draw2d.h"
#include "draw2d/image.h"
#include "game/effects.h"
#include "game/firework.h"
#include "game/settings.h"
#include "system/input.h"
#include "system/keycodes.h"
#include "system/random.h"

namespace {


} // namespace

void DrawLogo() { DrawImage(shellpictures.logoimage, HalfWidth(), HalfHeight() - 190); }

void ToggleVisibilityOnTab()
{
    if (!TakeKeyHits(VK_TAB))
        return;
    settings.visibility = settings.visibility != 0 ? 0 : 1;
    PostNotice(TNoticeKind::Visibility, settings.visibility != 0 ? "Visibility: High" : "Visibility: Low");
}

void DrawBackground()
{
    if (settings.visibility == 0)
        SetColor(122, 122, 122);
    background.backangle += 0.08f;
    SetRotation(background.backangle);
    background.backindex %= backcount;
    DrawImage(shellpictures.backimages[background.backindex], HalfWidth(), HalfHeight() - 140);
    if (background.backfade < 0)
        background.backfade = 0;
    if (background.backfade > 0.00001f) {
        SetAlpha(background.backfade);
        background.backfade -= 0.0011f;
        // Picture 0 never fades out: it counts as "no previous picture".
        if (background.backprev != 0)
            DrawImage(shellpictures.backimages[background.backprev], HalfWidth(), HalfHeight() - 140);
        SetAlpha(1);
    }
    // Only the shown pictures keep a texture: each background is a window-sized one, and ten of
    // them would grow the title screen's memory for nothing.
    for (int32_t i = 0; i < backcount; ++i) {
        const bool shown = i == background.backindex || (i == background.backprev && background.backfade > 0.00001f);
        if (!shown && shellpictures.backimages[i] && shellpictures.backimages[i]->HoldsFrames())
            shellpictures.backimages[i]->ReleaseFrames();
    }
    if (background.backtimer > 0) {
        --background.backtimer;
    } else {
        background.backtimer = backperiod;
        background.backprev = background.backindex;
        background.backfade = 1;
        do
            background.backindex = RandomInt(0, backcount - 1);
        while (background.backindex == background.backprev);
    }
    SetRotation(0);
}

void PlayMusic(TMusicTrack which)
{
    const bool title = which == MusicTitle;
    auto& wanted = title ? gamesounds.titlechannel : gamesounds.gamechannel;
    auto& unwanted = title ? gamesounds.gamechannel : gamesounds.titlechannel;
    SetChannelVolume(wanted, settings.musicvolume);
    if (ChannelPlaying(unwanted))
        StopChannel(unwanted);
    if (!ChannelPlaying(wanted)) {
        // The tracks do not loop: one that ended, or was stopped for the other, starts again.
        StopChannel(wanted);
        wanted = CueSound(title ? gamesounds.titlemusic : gamesounds.gamemusic);
        SetChannelVolume(wanted, settings.musicvolume);
        ResumeChannel(wanted);
    }
}

void DrawFlash()
{
    const float opacity = FlashOpacity(effects.flash);
    if (effects.flash > 0.000001f) {
        SetAlpha(opacity);
        effects.flash -= 0.0598f;
        SetColor(255, 255, static_cast<int32_t>(effects.flash * 100 + 155));
        DrawRect(0, 0, GraphicsWidth(), GraphicsHeight());
        SetAlpha(1);
    }
}

void SetCaptionColor()
{
    // One grey at both: black, as Low once had it, vanished into the darkened background, and
    // Low's darker background leaves the grey standing out the more.
    SetColor(140, 145, 145);
}

void DrawFramePicture()
{
    if (settings.visibility != 0)
        SetColor(255, 255, 255);
    else
        SetColor(202, 202, 202);
    DrawImage(shellpictures.hudimage, HalfWidth(), HalfHeight());
    SetColor(255, 255, 255);
}

void DrawBackdrop()
{
    PlayMusic(MusicTitle);
    SetColor(255, 255, 255);
    SetAlpha(1);
    ToggleVisibilityOnTab();
    DrawBackground();
    firework::Update();
    DrawFramePicture();
    DrawLogo();
}
