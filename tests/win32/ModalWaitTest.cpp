#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/Failure.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Libraries.h"
#include "tests/support/AnswerGaps.h"
#include "tests/support/BuildOutputs.h"
#include "window/win32/MainWindow.h"
#include "window/win32/ModalWait.h"

// The real window waiting for work off its thread: it keeps answering, holds input off, and lets
// the user leave at once during a search but only after the work during an installation.
namespace {

struct CountingEvents : WindowEvents {
    void Created() override {}
    void Clicked(Widget) override { ++clicks; }
    void CloseRequested() override { ++closes; }
    int clicks = 0, closes = 0;
};

unsigned short ControlWord() {
    unsigned short word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
}
unsigned Mxcsr() {
    unsigned value;
    asm volatile("stmxcsr %0" : "=m"(value));
    return value;
}
// A library that leaves the thread that calls it with other floating-point settings.
void AskTheFpuLibrary() {
    Win32Libraries libraries;
    LibraryHandle library = libraries.Load(FixturePath("fpu"));
    ASSERT_TRUE(library);
    libraries.CallByteFunction(libraries.Find(library, "TestSiec"));
    libraries.Free(library);
}

void Pump(DWORD ms) {
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < ms; ::Sleep(5)) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
}

HWND Button(const MainWindow& window, Widget widget) {
    return ::GetDlgItem(::GetDlgItem(window.Handle(), WidgetControlId(Widget::Panel2)),
                        WidgetControlId(widget));
}

struct WaitingWindow {
    WaitingWindow() {
        window.Create(events);
        window.CreateHiddenPages();
        window.Show(SW_SHOW);
        Pump(50);
    }
    CountingEvents events;
    MainWindow window{::GetModuleHandleW(nullptr), "Instalator", 96};
    ModalWait wait{window};
};

TEST(ModalWait, TheWindowAnswersHoldsInputOffAndKeepsItsFloatingPointState) {
    WaitingWindow test;
    HWND next = Button(test.window, Widget::BitBtn2);
    ASSERT_TRUE(next);
    unsigned short word = ControlWord();
    unsigned mxcsr = Mxcsr();
    DWORD windowThread = ::GetCurrentThreadId(), stepThread = 0;
    bool greyedDuring = true;
    int closesDuring = -1;
    AnswerGaps gaps(test.window.Handle());
    test.wait.Run(Waiting::Leaving::AfterWork, [&](const Waiting::ToWindow& toWindow) {
        ::PostMessageW(next, BM_CLICK, 0, 0);
        ::PostMessageW(next, WM_KEYDOWN, VK_SPACE, 0);
        ::PostMessageW(test.window.Handle(), WM_CLOSE, 0, 0);
        ::Sleep(1500);  // longer than the bound below, so a window that waits blocked fails it
        toWindow([&] {
            stepThread = ::GetCurrentThreadId();
            greyedDuring = !::IsWindowEnabled(next);
            closesDuring = test.events.closes;
        });
        AskTheFpuLibrary();
    });
    // Windows ghosts a window after 5 s; the bound leaves room for a loaded machine.
    EXPECT_LT(gaps.Stop().count(), 1000) << "ms without an answer while the work ran";
    EXPECT_EQ(stepThread, windowThread) << "steps for the window run on its thread";
    EXPECT_TRUE(greyedDuring);
    EXPECT_TRUE(::IsWindowEnabled(next)) << "the button is as it was once the wait is over";
    EXPECT_EQ(ControlWord(), word);
    EXPECT_EQ(Mxcsr(), mxcsr);
    EXPECT_EQ(closesDuring, 0) << "nothing ends an installation half-way";
    Pump(200);
    EXPECT_EQ(test.events.clicks, 0) << "a click during the wait is dropped, not queued";
    EXPECT_EQ(test.events.closes, 1) << "the request to leave is made again after the wait";
}

TEST(ModalWait, WhatEscapesTheWorkComesOutOfTheWait) {
    WaitingWindow test;
    EXPECT_THROW(test.wait.Run(Waiting::Leaving::AtOnce,
                               [](const Waiting::ToWindow&) { throw Failure("Brak pamięci"); }),
                 WorkEscaped);
}

// A search that never ends: the test starts itself again as the wizard waiting for it, and asks
// that run to leave in each of the user's ways.
const char LeaveSwitch[] = "--leave-during-search=";

int WaitForeverUntilLeft(const char* how) {
    WaitingWindow test;
    HWND main = test.window.Handle();
    HWND cancel = Button(test.window, Widget::BitBtn3);
    std::string way = how;
    std::thread user([&] {
        ::Sleep(300);
        if (way == "cancel") ::PostMessageW(cancel, BM_CLICK, 0, 0);
        if (way == "escape") ::PostMessageW(cancel, WM_KEYDOWN, VK_ESCAPE, 0);
        if (way == "closebox") ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    user.detach();
    test.wait.Run(Waiting::Leaving::AtOnce, [](const Waiting::ToWindow&) { ::Sleep(INFINITE); });
    return 3;  // the wait ended: it should not have
}

TEST(ModalWait, LeavingDuringASearchEndsTheWizardAtOnce) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (const wchar_t* way : {L"cancel", L"escape", L"closebox"}) {
        SCOPED_TRACE(std::string(way, way + std::wcslen(way)));
        std::wstring command = L"\"" + std::wstring(self) + L"\" --leave-during-search=" + way;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        ASSERT_TRUE(::CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     nullptr, &startup, &started));
        UniqueKernelHandle process(started.hProcess), thread(started.hThread);
        bool ended = ::WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0;
        if (!ended) ::TerminateProcess(process.get(), 9);
        DWORD code = 0;
        ::GetExitCodeProcess(process.get(), &code);
        EXPECT_TRUE(ended) << "the wizard waited for the search";
        EXPECT_EQ(code, 0u);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], LeaveSwitch, sizeof LeaveSwitch - 1) == 0)
            return WaitForeverUntilLeft(argv[i] + sizeof LeaveSwitch - 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
