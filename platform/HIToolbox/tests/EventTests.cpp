// Events and their typed parameters.
#include <HIToolbox/HIToolbox.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr UInt32 fourcc(const char (&code)[5]) {
    return (UInt32(UInt8(code[0])) << 24) | (UInt32(UInt8(code[1])) << 16) |
           (UInt32(UInt8(code[2])) << 8) | UInt32(UInt8(code[3]));
}

struct EventHolder {
    EventRef event = nullptr;
    EventHolder(UInt32 cls, UInt32 kind) {
        EXPECT_EQ(noErr, CreateEvent(nullptr, cls, kind, 0, kEventAttributeNone, &event));
    }
    ~EventHolder() { ReleaseEvent(event); }
};

TEST(Event, CarriesClassKindAndTime) {
    EventHolder e(kEventClassCommand, kEventCommandProcess);
    EXPECT_EQ(fourcc("cmds"), GetEventClass(e.event));
    EXPECT_EQ(1u, GetEventKind(e.event));
    EXPECT_EQ(noErr, SetEventTime(e.event, 12.5));
    EXPECT_DOUBLE_EQ(12.5, GetEventTime(e.event));
    EXPECT_EQ(paramErr, CreateEvent(nullptr, kEventClassControl, kEventControlHit, 0, 0, nullptr));
    EXPECT_GT(GetCurrentEventTime(), 0.0);
}

TEST(Event, ParametersRoundTripWithTheirTypesAndSizes) {
    EventHolder e(kEventClassKeyboard, kEventRawKeyDown);
    UInt32 modifiers = 0x0100;
    char chars[] = {'a'};
    ASSERT_EQ(noErr, SetEventParameter(e.event, kEventParamKeyModifiers, typeUInt32,
                                       sizeof(modifiers), &modifiers));
    ASSERT_EQ(noErr, SetEventParameter(e.event, kEventParamKeyMacCharCodes, typeChar, 1, chars));

    UInt32 got = 0;
    EventParamType type = 0;
    ByteCount size = 0;
    EXPECT_EQ(noErr, GetEventParameter(e.event, kEventParamKeyModifiers, typeUInt32, &type,
                                       sizeof(got), &size, &got));
    EXPECT_EQ(0x0100u, got);
    EXPECT_EQ(static_cast<EventParamType>(typeUInt32), type);
    EXPECT_EQ(sizeof(UInt32), size);

    // The wild card returns whatever is stored and says what it is.
    char c = 0;
    EXPECT_EQ(noErr, GetEventParameter(e.event, kEventParamKeyMacCharCodes, typeWildCard, &type, 1,
                                       &size, &c));
    EXPECT_EQ('a', c);
    EXPECT_EQ(static_cast<EventParamType>(typeChar), type);

    // Setting again replaces the value.
    modifiers = 0x0200;
    SetEventParameter(e.event, kEventParamKeyModifiers, typeUInt32, sizeof(modifiers), &modifiers);
    GetEventParameter(e.event, kEventParamKeyModifiers, typeUInt32, nullptr, sizeof(got), nullptr,
                      &got);
    EXPECT_EQ(0x0200u, got);
}

TEST(Event, ParameterErrors) {
    EventHolder e(kEventClassCommand, kEventCommandProcess);
    HICommand command{};
    command.commandID = kHICommandOK;
    ASSERT_EQ(noErr, SetEventParameter(e.event, kEventParamDirectObject, typeHICommand,
                                       sizeof(command), &command));

    UInt32 number = 0;
    EXPECT_EQ(eventParameterNotFoundErr,
              GetEventParameter(e.event, kEventParamKeyCode, typeUInt32, nullptr, sizeof(number),
                                nullptr, &number));
    EXPECT_EQ(errAECoercionFail, GetEventParameter(e.event, kEventParamDirectObject, typeUInt32,
                                                   nullptr, sizeof(number), nullptr, &number));

    // A 32-bit caller's 14-byte record must not get half of our 24 bytes.
    EXPECT_EQ(24u, sizeof(HICommand));
    unsigned char small[14];
    std::memset(small, 0xAB, sizeof(small));
    ByteCount size = 0;
    EXPECT_EQ(errDataSizeMismatch,
              GetEventParameter(e.event, kEventParamDirectObject, typeHICommand, nullptr,
                                sizeof(small), &size, small));
    EXPECT_EQ(sizeof(HICommand), size);
    EXPECT_EQ(0xAB, small[0]);

    // Asking for the size alone works without a buffer.
    size = 0;
    EXPECT_EQ(noErr, GetEventParameter(e.event, kEventParamDirectObject, typeHICommand, nullptr, 0,
                                       &size, nullptr));
    EXPECT_EQ(sizeof(HICommand), size);

    HICommand back{};
    EXPECT_EQ(noErr, GetEventParameter(e.event, kEventParamDirectObject, typeHICommand, nullptr,
                                       sizeof(back), nullptr, &back));
    EXPECT_EQ(fourcc("ok  "), back.commandID);

    EXPECT_EQ(noErr, RemoveEventParameter(e.event, kEventParamDirectObject));
    EXPECT_EQ(eventParameterNotFoundErr, RemoveEventParameter(e.event, kEventParamDirectObject));
    EXPECT_EQ(paramErr, SetEventParameter(e.event, kEventParamKeyCode, typeUInt32, 4, nullptr));
}

TEST(Event, TextIsReadInPartIntoAShortBuffer) {
    EventHolder e(kEventClassTextInput, kEventTextInputUnicodeForKeyEvent);
    const UniChar text[] = {'a', 'b', 'c'};
    SetEventParameter(e.event, kEventParamTextInputSendText, typeUnicodeText, sizeof(text), text);
    UniChar first = 0;
    ByteCount size = 0;
    EXPECT_EQ(noErr, GetEventParameter(e.event, kEventParamTextInputSendText, typeUnicodeText,
                                       nullptr, sizeof(first), &size, &first));
    EXPECT_EQ('a', first);
    EXPECT_EQ(sizeof(text), size);
}

TEST(Event, ReferenceParametersKeepTheirObjectAlive) {
    EventRef inner = nullptr;
    ASSERT_EQ(noErr, CreateEvent(nullptr, kEventClassKeyboard, kEventRawKeyDown, 0, 0, &inner));
    {
        EventHolder outer(kEventClassTextInput, kEventTextInputUnicodeForKeyEvent);
        SetEventParameter(outer.event, kEventParamTextInputSendKeyboardEvent, typeEventRef,
                          sizeof(inner), &inner);
        EXPECT_EQ(2u, GetEventRetainCount(inner));

        EventRef copy = CopyEvent(outer.event);
        EXPECT_EQ(3u, GetEventRetainCount(inner));
        EventRef got = nullptr;
        GetEventParameter(copy, kEventParamTextInputSendKeyboardEvent, typeEventRef, nullptr,
                          sizeof(got), nullptr, &got);
        EXPECT_EQ(inner, got);
        ReleaseEvent(copy);
        EXPECT_EQ(2u, GetEventRetainCount(inner));
    }
    EXPECT_EQ(1u, GetEventRetainCount(inner));
    ReleaseEvent(inner);
}

} // namespace
