#include "audio/modules.h"

#include "audio/oggloader.h"
#include "audio/openal_driver.h"
#include "audio/sound.h"

void StartAudioDrivers()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    // "Null" first, so the drivers registered after it are found before it.
    StartSoundModule();
    StartOpenALModule();
}

void StartAudioLoaders()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    StartOggLoaderModule();
}
