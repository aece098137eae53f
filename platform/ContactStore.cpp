#include "platform/ContactStore.h"

#include "platform/OutlookCsvContactStore.h"
#include "platform/VCardContactStore.h"

namespace {

ContactStoreFactory& ReplacementFactory()
{
    static ContactStoreFactory factory;
    return factory;
}

}

ContactApplicationRef CreateContactApplication(const QString& source, ContactFileFormat format)
{
    if (const ContactStoreFactory& factory = ReplacementFactory())
        return factory(source);
    if (format == ContactFileFormat::OutlookCsv)
        return CreateOutlookCsvApplication(source);
    return CreateVCardApplication(source);
}

void SetContactStoreFactory(ContactStoreFactory factory)
{
    ReplacementFactory() = std::move(factory);
}
