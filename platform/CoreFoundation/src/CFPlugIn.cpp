// Plug-ins: the factory and type registry, instance creation, instance
// counting and deferred unloading (the rules are in CFPlugIn.h).
#include "CFBundleInternal.h"
#include <CoreFoundation/CFDiagnostics.h>
#include <CoreFoundation/CFHolder.h>

#include <CoreFoundation/CFNumber.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

const CFStringRef kCFPlugInDynamicRegistrationKey = CFSTR("CFPlugInDynamicRegistration");
const CFStringRef kCFPlugInDynamicRegisterFunctionKey = CFSTR("CFPlugInDynamicRegisterFunction");
const CFStringRef kCFPlugInUnloadFunctionKey = CFSTR("CFPlugInUnloadFunction");
const CFStringRef kCFPlugInFactoriesKey = CFSTR("CFPlugInFactories");
const CFStringRef kCFPlugInTypesKey = CFSTR("CFPlugInTypes");

namespace cf {
namespace {

struct Factory {
    CFUUIDRef id = nullptr;           // retained
    OpaqueCFBundle* plugin = nullptr; // retained; NULL for a function registered by code
    std::string function_name;
    CFPlugInFactoryFunction function = nullptr;
    std::vector<CFUUIDRef> types; // retained
    long instances = 0;
};

std::vector<Factory>& factories() {
    static auto* all = new std::vector<Factory>;
    return *all;
}

Factory* find_factory(CFUUIDRef id) {
    if (id == nullptr)
        return nullptr;
    for (Factory& factory : factories())
        if (CFEqual(factory.id, id))
            return &factory;
    return nullptr;
}

bool makes_type(const Factory& factory, CFUUIDRef type) {
    return std::any_of(factory.types.begin(), factory.types.end(),
                       [&](CFUUIDRef t) { return CFEqual(t, type); });
}

Factory* add_factory(CFUUIDRef id, OpaqueCFBundle* plugin) {
    if (id == nullptr || find_factory(id) != nullptr)
        return nullptr;
    Factory factory;
    factory.id = static_cast<CFUUIDRef>(CFRetain(id));
    if (plugin != nullptr)
        factory.plugin = static_cast<OpaqueCFBundle*>(const_cast<void*>(CFRetain(plugin)));
    factories().push_back(factory);
    return &factories().back();
}

std::string uuid_text(CFUUIDRef id) {
    const Holder<CFStringRef> text(CFUUIDCreateString(nullptr, id));
    return to_utf8(text.get());
}

bool is_string(CFTypeRef value) {
    return value != nullptr && CFGetTypeID(value) == CFStringGetTypeID();
}

// Info.plist Booleans may be written as <true/> or as the string "YES".
bool info_flag(const OpaqueCFBundle* bundle, CFStringRef key) {
    CFTypeRef value = CFDictionaryGetValue(bundle->info, key);
    if (value == nullptr)
        return false;
    if (CFGetTypeID(value) == CFBooleanGetTypeID())
        return CFBooleanGetValue(static_cast<CFBooleanRef>(value));
    std::string text = is_string(value) ? to_utf8(static_cast<CFStringRef>(value)) : "";
    return text == "YES" || text == "yes" || text == "true";
}

struct Registration {
    OpaqueCFBundle* bundle;
};

void register_factory_entry(const void* key, const void* value, void* context) {
    auto* bundle = static_cast<Registration*>(context)->bundle;
    const Holder<CFUUIDRef> id(
        is_string(key) ? CFUUIDCreateFromString(nullptr, static_cast<CFStringRef>(key)) : nullptr);
    if (!id || !is_string(value)) {
        report_bundle_error(bundle, "CFPlugInCreate",
                            "CFPlugInFactories: an entry is not a UUID string and a function name");
    } else if (!CFPlugInRegisterFactoryFunctionByName(id.get(), bundle,
                                                      static_cast<CFStringRef>(value))) {
        report_bundle_error(bundle, "CFPlugInCreate",
                            "factory " + uuid_text(id.get()) + " is already registered");
    }
}

void register_type_entry(const void* key, const void* value, void* context) {
    auto* bundle = static_cast<Registration*>(context)->bundle;
    const Holder<CFUUIDRef> held(
        is_string(key) ? CFUUIDCreateFromString(nullptr, static_cast<CFStringRef>(key)) : nullptr);
    CFUUIDRef type = held.get();
    if (type == nullptr || value == nullptr || CFGetTypeID(value) != CFArrayGetTypeID()) {
        report_bundle_error(bundle, "CFPlugInCreate",
                            "CFPlugInTypes: an entry is not a UUID string and an array");
        return;
    }
    auto list = static_cast<CFArrayRef>(value);
    for (CFIndex i = 0; i < CFArrayGetCount(list); ++i) {
        CFTypeRef item = CFArrayGetValueAtIndex(list, i);
        const Holder<CFUUIDRef> factory(
            is_string(item) ? CFUUIDCreateFromString(nullptr, static_cast<CFStringRef>(item))
                            : nullptr);
        if (!factory || !CFPlugInRegisterPlugInType(factory.get(), type))
            report_bundle_error(bundle, "CFPlugInCreate",
                                "CFPlugInTypes: " + uuid_text(type) +
                                    " lists a factory that is not registered");
    }
}

void register_dynamically(OpaqueCFBundle* bundle) {
    std::string name = info_string(bundle, kCFPlugInDynamicRegisterFunctionKey);
    if (name.empty())
        name = "CFPlugInDynamicRegister";
    auto function = reinterpret_cast<CFPlugInDynamicRegisterFunction>(
        find_symbol(bundle, name, "CFPlugInCreate"));
    if (function != nullptr)
        function(bundle);
    else if (bundle->handle != nullptr)
        report_bundle_error(bundle, "CFPlugInCreate",
                            "no dynamic registration function \"" + name + "\"");
}

} // namespace

void register_plugin(OpaqueCFBundle* bundle) {
    CFTypeRef factories_entry = CFDictionaryGetValue(bundle->info, kCFPlugInFactoriesKey);
    CFTypeRef types_entry = CFDictionaryGetValue(bundle->info, kCFPlugInTypesKey);
    const bool dynamic = info_flag(bundle, kCFPlugInDynamicRegistrationKey);
    if (factories_entry == nullptr && types_entry == nullptr && !dynamic)
        return;
    bundle->is_plugin = true;
    bundle->load_on_demand = !dynamic;
    Registration context{bundle};
    if (factories_entry != nullptr && CFGetTypeID(factories_entry) == CFDictionaryGetTypeID())
        CFDictionaryApplyFunction(static_cast<CFDictionaryRef>(factories_entry),
                                  register_factory_entry, &context);
    if (types_entry != nullptr && CFGetTypeID(types_entry) == CFDictionaryGetTypeID())
        CFDictionaryApplyFunction(static_cast<CFDictionaryRef>(types_entry), register_type_entry,
                                  &context);
    if (dynamic)
        register_dynamically(bundle);
}

void run_pending_unloads() {
    // Collected first: an unload function may register or unregister factories.
    std::vector<OpaqueCFBundle*> due;
    for (Factory& factory : factories()) {
        OpaqueCFBundle* plugin = factory.plugin;
        if (plugin == nullptr || !plugin->unload_pending)
            continue;
        plugin->unload_pending = false;
        if (plugin->instance_count == 0 && plugin->handle != nullptr)
            due.push_back(static_cast<OpaqueCFBundle*>(const_cast<void*>(CFRetain(plugin))));
    }
    for (OpaqueCFBundle* plugin : due) {
        std::string name = info_string(plugin, kCFPlugInUnloadFunctionKey);
        auto function = reinterpret_cast<CFPlugInUnloadFunction>(
            find_symbol(plugin, name, "CFPlugInRemoveInstanceForFactory"));
        if (function != nullptr)
            function(plugin);
        unload_code(plugin);
        CFRelease(plugin);
    }
}

void forget_factory_functions(const OpaqueCFBundle* bundle) {
    for (Factory& factory : factories())
        if (factory.plugin == bundle && !factory.function_name.empty())
            factory.function = nullptr;
}

} // namespace cf

using cf::bundle_type_id;

CFTypeID CFPlugInGetTypeID(void) {
    return bundle_type_id();
}

CFPlugInRef CFPlugInCreate(CFAllocatorRef allocator, CFURLRef plugInURL) {
    return CFBundleCreate(allocator, plugInURL);
}

CFBundleRef CFPlugInGetBundle(CFPlugInRef plugIn) {
    return cf::check_type(plugIn, bundle_type_id(), __func__) ? plugIn : nullptr;
}

CFPlugInRef CFBundleGetPlugIn(CFBundleRef bundle) {
    if (!cf::check_type(bundle, bundle_type_id(), __func__))
        return nullptr;
    return bundle->is_plugin ? bundle : nullptr;
}

void CFPlugInSetLoadOnDemand(CFPlugInRef plugIn, Boolean flag) {
    if (cf::check_type(plugIn, bundle_type_id(), __func__))
        plugIn->load_on_demand = flag;
}

Boolean CFPlugInIsLoadOnDemand(CFPlugInRef plugIn) {
    return cf::check_type(plugIn, bundle_type_id(), __func__) && plugIn->is_plugin &&
           plugIn->load_on_demand;
}

CFArrayRef CFPlugInFindFactoriesForPlugInTypeInPlugIn(CFUUIDRef typeUUID, CFPlugInRef plugIn) {
    cf::run_pending_unloads();
    CFMutableArrayRef found = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    for (const cf::Factory& factory : cf::factories())
        if ((plugIn == nullptr || factory.plugin == plugIn) && cf::makes_type(factory, typeUUID))
            CFArrayAppendValue(found, factory.id);
    return found;
}

CFArrayRef CFPlugInFindFactoriesForPlugInType(CFUUIDRef typeUUID) {
    return CFPlugInFindFactoriesForPlugInTypeInPlugIn(typeUUID, nullptr);
}

void* CFPlugInInstanceCreate(CFAllocatorRef allocator, CFUUIDRef factoryUUID, CFUUIDRef typeUUID) {
    cf::run_pending_unloads();
    cf::Factory* factory = cf::find_factory(factoryUUID);
    if (factory == nullptr || typeUUID == nullptr || !cf::makes_type(*factory, typeUUID)) {
        cf::report("CFPlugInInstanceCreate", "no factory %s for type %s",
                   factoryUUID ? cf::uuid_text(factoryUUID).c_str() : "(null)",
                   typeUUID ? cf::uuid_text(typeUUID).c_str() : "(null)");
        return nullptr;
    }
    if (factory->function == nullptr && factory->plugin != nullptr) {
        factory->function = reinterpret_cast<CFPlugInFactoryFunction>(
            cf::find_symbol(factory->plugin, factory->function_name, __func__));
        if (factory->function == nullptr && factory->plugin->handle != nullptr)
            cf::report_bundle_error(factory->plugin, __func__,
                                    "no factory function \"" + factory->function_name +
                                        "\" for factory " + cf::uuid_text(factoryUUID));
    }
    if (factory->function == nullptr)
        return nullptr;
    return factory->function(allocator, typeUUID);
}

Boolean CFPlugInRegisterFactoryFunction(CFUUIDRef factoryUUID, CFPlugInFactoryFunction func) {
    cf::Factory* factory = func != nullptr ? cf::add_factory(factoryUUID, nullptr) : nullptr;
    if (factory != nullptr)
        factory->function = func;
    return factory != nullptr;
}

Boolean CFPlugInRegisterFactoryFunctionByName(CFUUIDRef factoryUUID, CFPlugInRef plugIn,
                                              CFStringRef functionName) {
    if (!cf::check_type(plugIn, bundle_type_id(), __func__) || functionName == nullptr)
        return false;
    cf::Factory* factory = cf::add_factory(factoryUUID, plugIn);
    if (factory != nullptr)
        factory->function_name = cf::to_utf8(functionName);
    return factory != nullptr;
}

Boolean CFPlugInUnregisterFactory(CFUUIDRef factoryUUID) {
    cf::Factory* factory = cf::find_factory(factoryUUID);
    if (factory == nullptr)
        return false;
    for (CFUUIDRef type : factory->types)
        CFRelease(type);
    CFRelease(factory->id);
    if (factory->plugin != nullptr)
        CFRelease(factory->plugin);
    cf::factories().erase(cf::factories().begin() + (factory - cf::factories().data()));
    return true;
}

Boolean CFPlugInRegisterPlugInType(CFUUIDRef factoryUUID, CFUUIDRef typeUUID) {
    cf::Factory* factory = cf::find_factory(factoryUUID);
    if (factory == nullptr || typeUUID == nullptr)
        return false;
    if (!cf::makes_type(*factory, typeUUID))
        factory->types.push_back(static_cast<CFUUIDRef>(CFRetain(typeUUID)));
    return true;
}

Boolean CFPlugInUnregisterPlugInType(CFUUIDRef factoryUUID, CFUUIDRef typeUUID) {
    cf::Factory* factory = cf::find_factory(factoryUUID);
    if (factory == nullptr || typeUUID == nullptr)
        return false;
    auto& types = factory->types;
    auto found =
        std::find_if(types.begin(), types.end(), [&](CFUUIDRef t) { return CFEqual(t, typeUUID); });
    if (found == types.end())
        return false;
    CFRelease(*found);
    types.erase(found);
    return true;
}

void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID) {
    cf::Factory* factory = cf::find_factory(factoryID);
    if (factory == nullptr) {
        cf::report("CFPlugInAddInstanceForFactory", "unknown factory");
        return;
    }
    ++factory->instances;
    if (factory->plugin != nullptr) {
        ++factory->plugin->instance_count;
        factory->plugin->unload_pending = false;
    }
}

void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID) {
    cf::Factory* factory = cf::find_factory(factoryID);
    if (factory == nullptr || factory->instances == 0) {
        cf::report("CFPlugInRemoveInstanceForFactory", "%s",
                   factory == nullptr ? "unknown factory" : "no instance left to remove");
        return;
    }
    --factory->instances;
    OpaqueCFBundle* plugin = factory->plugin;
    if (plugin == nullptr || --plugin->instance_count > 0)
        return;
    // Only marked here: this call usually comes from the plug-in's own code.
    plugin->unload_pending =
        plugin->load_on_demand && !cf::info_string(plugin, kCFPlugInUnloadFunctionKey).empty();
}
