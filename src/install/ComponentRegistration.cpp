#include "install/ComponentRegistration.h"

#include "services/SharedComponents.h"

namespace {

void Tell(SetupCallback& person, const std::string& path, RegistrationResult result)
{
    switch (result) {
    case RegistrationResult::Done: return;
    case RegistrationResult::NotLoaded: person.RegistrationFailed(path, RegistrationFailure::NotLoaded); return;
    case RegistrationResult::NoEntry: person.RegistrationFailed(path, RegistrationFailure::NoRegisterEntry); return;
    case RegistrationResult::EntryFailed: person.RegistrationFailed(path, RegistrationFailure::RegisterFailed); return;
    }
}

}  // namespace

bool RegisterComponent(SetupCallback& person, const std::string& path)
{
    const RegistrationResult result = SelfRegister(path, true);
    Tell(person, path, result);
    return result == RegistrationResult::Done;
}

void UnregisterComponent(SetupCallback& person, const std::string& path)
{
    if (IsRegistrable(path)) Tell(person, path, SelfRegister(path, false));
}
