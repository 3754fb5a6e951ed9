#pragma once
// The system sounds the program plays, behind a port so that what a window plays can be heard
// by a test.
namespace kembo {

enum class Sound {
    Default,      // the default beep
    Information,  // the asterisk sound
    Warning,      // the exclamation sound
};

class SoundPort {
public:
    virtual ~SoundPort() = default;
    virtual void Play(Sound sound) = 0;
};

}  // namespace kembo
