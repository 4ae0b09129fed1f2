/* vellora_bench_sdl_player FILE SECONDS: the music reference. Plays an MP3 file for SECONDS
 * through an SDL audio device in the shell's output format (44.1 kHz, 16-bit stereo, buffers of
 * 1024 frames), decoding with libmpg123 straight into the device's callback and starting the
 * file again at its end. Nothing else: the least a program can do to play the file. */
#include <SDL.h>
#include <mpg123.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void Fill(void* decoder, Uint8* stream, int length) {
  size_t filled = 0;
  while (filled < (size_t)length) {
    size_t done = 0;
    const int result = mpg123_read(decoder, stream + filled, (size_t)length - filled, &done);
    filled += done;
    if (result == MPG123_DONE) {
      mpg123_seek(decoder, 0, SEEK_SET);
    } else if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
      memset(stream + filled, 0, (size_t)length - filled);
      return;
    }
  }
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: vellora_bench_sdl_player FILE SECONDS\n");
    return 2;
  }
  mpg123_init();
  mpg123_handle* decoder = mpg123_new(NULL, NULL);
  mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_STEREO, 0);
  mpg123_format_none(decoder);
  mpg123_format(decoder, 44100, MPG123_STEREO, MPG123_ENC_SIGNED_16);
  if (mpg123_open(decoder, argv[1]) != MPG123_OK) {
    fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  if (SDL_Init(SDL_INIT_AUDIO) != 0) {
    fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  SDL_AudioSpec wanted = {0};
  wanted.freq = 44100;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = 1024;
  wanted.callback = Fill;
  wanted.userdata = decoder;
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(NULL, 0, &wanted, NULL, 0);
  if (device == 0) {
    fprintf(stderr, "SDL_OpenAudioDevice: %s\n", SDL_GetError());
    return 1;
  }
  SDL_PauseAudioDevice(device, 0);
  SDL_Delay((Uint32)(atof(argv[2]) * 1000));
  SDL_CloseAudioDevice(device);
  SDL_Quit();
  mpg123_delete(decoder);
  return 0;
}
