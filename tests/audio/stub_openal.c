/* A libopenal.so.1 that loads but exports only a few of OpenAL's entry points, as a broken or
   foreign library in its place would. None of them is ever meant to be called. */
void* alcOpenDevice(const char* name) { (void)name; return 0; }
char alcCloseDevice(void* device) { (void)device; return 0; }
const char* alcGetString(void* device, int param) { (void)device; (void)param; return 0; }
