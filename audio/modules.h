#pragma once

// The audio modules start on first use rather than at program start: a program that only
// decodes never loads OpenAL, and a test can name another OpenAL library before it is loaded.
// Each function does its work once.

// The "Null" driver with the exit action, then the OpenAL driver when its library loads.
void StartAudioDrivers();
// The Ogg Vorbis sample loader.
void StartAudioLoaders();
