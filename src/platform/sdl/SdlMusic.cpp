#include "platform/sdl/SdlMusic.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <xmp.h>

#include <cstring>
#include <type_traits>

namespace sf {

namespace {

void MusicHook(void* self, Uint8* stream, int bytes) { static_cast<SdlMusic*>(self)->Render(stream, bytes); }

}  // namespace

SdlMusic::SdlMusic(SdlSoundDevice& device) : device_(device) {
  static_assert(std::is_same_v<Context, xmp_context>);
  if (device_.Open()) {
    Mix_HookMusic(MusicHook, this);
    hooked_ = true;
  }
}

SdlMusic::~SdlMusic() {
  // Unhooking takes the mixer's lock, so once it returns the hook is not running and never runs
  // again; the songs can then go.
  if (hooked_) Mix_HookMusic(nullptr, nullptr);
  for (auto& [handle, ctx] : songs_) {
    if (ctx == sounding_) xmp_end_player(ctx);
    xmp_release_module(ctx);
    xmp_free_context(ctx);
  }
}

SongHandle SdlMusic::SongLoadFromFile(const std::string& path) {
  // Loading reads and parses the whole file; it happens outside the lock in a context the audio
  // thread does not know yet.
  xmp_context ctx = xmp_create_context();
  if (ctx == nullptr) return 0;
  if (xmp_load_module(ctx, path.c_str()) != 0) {
    xmp_free_context(ctx);
    return 0;
  }
  const SongHandle handle = nextHandle_++;
  if (nextHandle_ == 0) nextHandle_ = 1;
  songs_[handle] = ctx;
  return handle;
}

void SdlMusic::SongPlay(SongHandle song) {
  const auto it = songs_.find(song);
  if (it == songs_.end()) return;
  const int flags = device_.Channels() == 1 ? XMP_FORMAT_MONO : 0;
  std::lock_guard<std::mutex> hold(lock_);
  if (sounding_ != nullptr) xmp_end_player(sounding_);
  sounding_ = nullptr;
  soundingHandle_ = 0;
  order_ = 0;
  if (xmp_start_player(it->second, device_.Rate(), flags) != 0) return;
  xmp_play_buffer(it->second, nullptr, 0, 0);  // drop what an earlier run left buffered
  sounding_ = it->second;
  soundingHandle_ = song;
}

void SdlMusic::Stop(SongHandle song) {
  std::lock_guard<std::mutex> hold(lock_);
  if (soundingHandle_ != song || sounding_ == nullptr) return;
  xmp_end_player(sounding_);
  sounding_ = nullptr;
  soundingHandle_ = 0;
  order_ = 0;
}

void SdlMusic::SongFree(SongHandle song) {
  const auto it = songs_.find(song);
  if (it == songs_.end()) return;
  Stop(song);
  // Render only touches the sounding context under the lock, so this one is ours alone now.
  xmp_release_module(it->second);
  xmp_free_context(it->second);
  songs_.erase(it);
}

int32_t SdlMusic::SongGetOrder(SongHandle song) {
  if (song == 0 || song != soundingHandle_.load()) return 0;
  return order_.load();
}

void SdlMusic::Render(uint8_t* stream, int bytes) {
  if (stream == nullptr || bytes <= 0) return;
  std::lock_guard<std::mutex> hold(lock_);
  if (sounding_ == nullptr) {
    std::memset(stream, 0, static_cast<size_t>(bytes));
    return;
  }
  // Loop count 0: the song repeats from its restart position for ever.
  xmp_play_buffer(sounding_, stream, bytes, 0);
  xmp_frame_info info;
  xmp_get_frame_info(sounding_, &info);
  order_ = info.pos;
}

}  // namespace sf
