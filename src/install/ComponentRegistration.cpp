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

void RegisterComponent(SetupCallback& person, const std::string& path)
{
    Tell(person, path, SelfRegister(path, true));
}

void UnregisterComponent(SetupCallback& person, const std::string& path)
{
    if (IsRegistrable(path)) Tell(person, path, SelfRegister(path, false));
}
