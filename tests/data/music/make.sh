#!/bin/sh
# Makes the songs of the sound tests: a 0.4 s tone per format, each of its own
# pitch (the pitch starts the file name), and a 10 ms clip of 64-bit
# floating-point samples. Needs gst-launch-1.0 (gstreamer1.0-tools).
set -e
cd "$(dirname "$0")"
tone() { # pitch, samples, sample format, encoder, file
  gst-launch-1.0 -q audiotestsrc freq="$1" volume=0.5 num-buffers=1 samplesperbuffer="$2" \
    ! "audio/x-raw,rate=44100,channels=1,format=$3" ! audioconvert ! $4 ! filesink location="$5"
}
tone 440 17640 S16LE "flacenc" 440.flac
tone 550 17640 S16LE "vorbisenc ! oggmux" 550.ogg
tone 660 17640 S16LE "audioresample ! opusenc ! oggmux" 660.opus
tone 770 17640 S16LE "avenc_aac ! mp4mux" 770.m4a
tone 880 17640 S16LE "lamemp3enc" 880.mp3
tone 990 17640 S16LE "wavenc" 990.wav
tone 1320 441 F64LE "wavenc" 1320-f64-10ms.wav
