/* vellora_bench_mp3_writer FILE SECONDS [RATE]: writes the benchmark's music, SECONDS of a
 * slowly swelling A major chord as a stereo MP3 at 128 kbit/s (libmp3lame) at RATE (44100 by
 * default; 48000 is the other common rate of music files). */
#include <lame/lame.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    fprintf(stderr, "usage: vellora_bench_mp3_writer FILE SECONDS [RATE]\n");
    return 2;
  }
  const int rate = argc == 4 ? atoi(argv[3]) : 44100;
  const int frames = (int)(atof(argv[2]) * rate);
  short* pcm = malloc(sizeof(short) * 2 * (size_t)frames);
  const int bufferSize = frames * 5 / 4 + 7200;
  unsigned char* mp3 = malloc((size_t)bufferSize);
  FILE* out = fopen(argv[1], "w+b");
  if (pcm == NULL || mp3 == NULL || out == NULL) {
    fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  for (int i = 0; i < frames; ++i) {
    const double t = (double)i / rate;
    const double swell = 0.6 + 0.4 * sin(2 * M_PI * 0.25 * t);
    const double chord = sin(2 * M_PI * 220 * t) + sin(2 * M_PI * 277.18 * t) + sin(2 * M_PI * 329.63 * t);
    pcm[2 * i] = (short)(7000 * swell * chord);
    pcm[2 * i + 1] = (short)(7000 * swell * (chord + 0.3 * sin(2 * M_PI * 440 * t)) / 1.3);
  }
  lame_global_flags* lame = lame_init();
  lame_set_in_samplerate(lame, rate);
  lame_set_out_samplerate(lame, rate);
  lame_set_num_channels(lame, 2);
  lame_set_brate(lame, 128);
  if (lame_init_params(lame) < 0) return 1;
  int size = lame_encode_buffer_interleaved(lame, pcm, frames, mp3, bufferSize);
  if (size < 0) return 1;
  const int tail = lame_encode_flush(lame, mp3 + size, bufferSize - size);
  if (tail < 0) return 1;
  size += tail;
  fwrite(mp3, 1, (size_t)size, out);
  lame_mp3_tags_fid(lame, out);
  lame_close(lame);
  return fclose(out) == 0 ? 0 : 1;
}
