#include "platform/ContactStore.h"

#include "platform/VCardContactStore.h"

namespace {

ContactStoreFactory& ReplacementFactory()
{
    static ContactStoreFactory factory;
    return factory;
}

}

ContactApplicationRef CreateContactApplication(const QString& source)
{
    if (const ContactStoreFactory& factory = ReplacementFactory())
        return factory(source);
    return CreateVCardApplication(source);
}

void SetContactStoreFactory(ContactStoreFactory factory)
{
    ReplacementFactory() = std::move(factory);
}
