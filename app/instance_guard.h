// One Tiermark per user: the first start holds the user's claim, a later start asks it to come to the front.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QWidget;

namespace app {

// The claim of the user's one Tiermark on this computer. The first start holds it while it runs and answers a
// later start's request; the claim ends with the process, however it ends, so a crashed Tiermark leaves
// nothing that keeps the next one from starting.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // Whether this process holds the claim (or runs without one, as the claim could not be made at all).
    virtual bool holdsClaim() const = 0;
    // A later start: one attempt to ask the holder to come to the front; true once the holder has answered.
    virtual bool askHolderToComeForward() = 0;
    // The holder: what to do when a later start asks (called on the user-interface thread, from its event
    // loop).
    virtual void answerRequests(std::function<void()> comeForward) = 0;

    // Brings the holder's window to the front as the user's own click would: restored if minimised, raised
    // and activated, then handed to the platform's own step (takeForeground).
    void bringToFront(QWidget& window);

protected:
    // What the platform needs beyond Qt's activation for a window to take the front; Qt's alone by default.
    virtual void takeForeground(QWidget& window);
};

// The claim for the user running this process: a per-user named mutex and a message-only window on Windows,
// a lock file and a local socket in the user's runtime folder elsewhere.
std::unique_ptr<InstanceGuard> claimInstance();

// The part of a name that tells the user apart (a SID, a user name, a user number), kept to ASCII letters,
// digits and '-' so that it can name a mutex, a window and a file; every other UTF-16 unit becomes _XXXX.
std::string instanceKey(std::u16string_view user);

// Whether a run on this Qt platform takes part. Offscreen runs show nothing anyone could bring forward and
// end once their window is shown, so they neither take the claim nor give way (test suites start many of
// them).
bool takesPartInOneInstance(std::string_view platformName);

// The request a later start sends on the local socket, and the holder's answer.
inline constexpr std::string_view kComeForwardRequest = "Tiermark: come forward\n";
inline constexpr std::string_view kComeForwardAnswer = "Tiermark: coming\n";

enum class HandOver { Answered, NoAnswer };

// A later start asks the holder up to `attempts` times, waiting `waitMs` between attempts with `wait`: the
// holder may be between taking its claim and answering (starting up) or busy for a moment.
HandOver handOverToHolder(InstanceGuard& guard, int attempts, int waitMs,
                          const std::function<void(int)>& wait);

// What a later start says when the holder did not answer.
std::u16string noAnswerMessage();

}  // namespace app
