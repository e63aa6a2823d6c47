// The program's manifest as Windows reads it. Windows builds the process's activation context
// from it before the program's first instruction and refuses to start the program when that
// fails (an assembly it names is not installed). Wine's loader forgives the failure, its
// CreateActCtxA does not: that is the check.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/harness/wispfold_fixture.h"

namespace {

// The error and whether an activation context could be built from this source.
struct ActCtxResult {
    bool bBuilt;
    DWORD dwError;
};

ActCtxResult BuildActCtx(const std::string& source, LPCSTR pszResource) {
    ACTCTXA actctx{};
    actctx.cbSize = sizeof(actctx);
    actctx.lpSource = source.c_str();
    if (pszResource != nullptr) {
        actctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        actctx.lpResourceName = pszResource;
    }
    const HANDLE hCtx = CreateActCtxA(&actctx);
    if (hCtx == INVALID_HANDLE_VALUE)
        return {false, GetLastError()};
    ReleaseActCtx(hCtx);
    return {true, ERROR_SUCCESS};
}

class ProgramManifest : public CWispfoldFixture {};

TEST_F(ProgramManifest, BuildsAnActivationContextOnASystemWithoutTheVisualCppRuntime) {
    const std::string program = CWispfoldProcess::ToWindowsPath(ProgramPath());
    ASSERT_FALSE(program.empty());
    const ActCtxResult own = BuildActCtx(program, MAKEINTRESOURCEA(1));
    EXPECT_TRUE(own.bBuilt) << "CreateActCtxA refused the program's manifest, error " << own.dwError
                            << ": Windows would not start it";

    // The check itself is strict in this prefix: a manifest naming the class library's
    // assembly, which no clean system has, is refused as Windows refuses it.
    char szDir[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, szDir), 0u);
    const std::string path = std::string(szDir) + "wispfold-needs-mfc.manifest";
    FILE* pFile = std::fopen(path.c_str(), "wb");
    ASSERT_NE(pFile, nullptr);
    std::fputs("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
               "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
               "name=\"Microsoft.VC90.MFC\" version=\"9.0.21022.8\" "
               "processorArchitecture=\"x86\" publicKeyToken=\"1fc8b3b9a1e18e3b\">"
               "</assemblyIdentity></dependentAssembly></dependency></assembly>",
               pFile);
    std::fclose(pFile);
    const ActCtxResult missing = BuildActCtx(path, nullptr);
    DeleteFileA(path.c_str());
    EXPECT_FALSE(missing.bBuilt) << "a missing assembly was forgiven: the check proves nothing";
    EXPECT_EQ(missing.dwError, static_cast<DWORD>(ERROR_SXS_CANT_GEN_ACTCTX));
}

} // namespace
