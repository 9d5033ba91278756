// Commands that rewrite a package are killed with SIGKILL at random moments: whatever the moment,
// the package must be either its old bytes or a complete new package, and a temporary file a kill
// leaves behind must carry a recognisable name and be removed by the next run.

#include "SignFixture.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <random>

namespace KX::Testing {
namespace {

constexpr int KillsPerCommand = 200;

using Entries = std::map<std::string, std::string>;

// The entries of an archive as libzip reads them, or nothing when it is not a readable archive.
std::optional<Entries> entriesOf(const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* zip = zip_open_from_source(source, ZIP_CHECKCONS | ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (zip == nullptr) {
        zip_source_free(source);
        return std::nullopt;
    }
    Entries entries;
    bool complete = true;
    for (zip_int64_t i = 0; complete && i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        if (zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st) != 0 || file == nullptr) {
            complete = false;
            break;
        }
        std::string content(st.size, '\0');
        complete = zip_fread(file, content.data(), st.size) == static_cast<zip_int64_t>(st.size);
        zip_fclose(file);
        entries[st.name] = content;
    }
    zip_discard(zip);
    return complete ? std::optional(entries) : std::nullopt;
}

class KilledRun : public SignTest {
protected:
    KilledRun() : generator(20261209) {
        makePlugin();
        fs::create_directories(scratch / "out");
    }

    std::vector<std::string> signArguments() {
        return {"sign", "--package=out/plug.xpk", "--certificate=" + pkiFile("signer.pem"),
                "--private-key=" + pkiFile("signer.key")};
    }

    // Starts xpk and kills it after the delay unless it ends first. Returns whether it was killed.
    bool runAndKill(const std::vector<std::string>& arguments, std::chrono::microseconds delay) {
        const std::string program = (scratch / "bin/xpk").string();
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
            if (chdir(scratch.path().c_str()) != 0)
                _exit(126);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const auto& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        usleep(static_cast<useconds_t>(delay.count()));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

    // How long a finished run takes, so that the kills spread over the whole of it: the quickest of a
    // few, since on a busy machine one slow run would put most kills after the end of the others.
    std::chrono::microseconds duration(const std::vector<std::string>& arguments, const fs::path& package,
                                       const std::string& old) {
        auto quickest = std::chrono::microseconds::max();
        for (int i = 0; i < 3; ++i) {
            writeFile(package, old);
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(signXpk(arguments).status, 0);
            quickest = std::min(quickest, std::chrono::duration_cast<std::chrono::microseconds>(
                                              std::chrono::steady_clock::now() - start));
        }
        return quickest;
    }

    bool passesUnzipTest(const fs::path& package) {
        return runProgram("/usr/bin/unzip", {"-tqq", package.string()}).status == 0;
    }

    // Everything in out/ but the package must be a temporary file of it.
    void expectOnlyTemporaries(int run) {
        for (const auto& name : listing(scratch / "out")) {
            if (name != "plug.xpk") {
                EXPECT_TRUE(name.starts_with(".plug.xpk.partial-")) << name << " after run " << run;
            }
        }
    }

    // Kills the command KillsPerCommand times, each time from the old package, and has the check
    // judge every new package. Runs that end before their kill do not count. Ends with a finished
    // run, which must leave no temporary file.
    template <typename Check>
    void killRepeatedly(const std::vector<std::string>& arguments, const std::string& old,
                        Check isCompleteNew) {
        const fs::path package = scratch / "out/plug.xpk";
        std::uniform_int_distribution<std::int64_t> moment(0, duration(arguments, package, old).count());
        int killed = 0;
        for (int run = 0; killed < KillsPerCommand && run < 10 * KillsPerCommand; ++run) {
            writeFile(package, old);
            killed += runAndKill(arguments, std::chrono::microseconds(moment(generator)));
            const std::string now = readFile(package);
            if (now != old) {
                EXPECT_TRUE(passesUnzipTest(package)) << "run " << run;
                EXPECT_TRUE(isCompleteNew(now)) << "run " << run;
            }
            expectOnlyTemporaries(run);
            if (HasFailure())
                return;
        }
        EXPECT_EQ(killed, KillsPerCommand);
        writeFile(package, old);
        EXPECT_EQ(signXpk(arguments).status, 0);
        EXPECT_EQ(listing(scratch / "out"), std::vector<std::string>{"plug.xpk"});
    }

    std::string createPackage() {
        EXPECT_EQ(xpk({"create", "--source=plug", "--package=out/plug", "--delete"}).status, 0);
        return readFile(scratch / "out/plug.xpk");
    }

    std::mt19937 generator;
};

TEST_F(KilledRun, SignLeavesTheOldPackageOrASignedOne) {
    const std::string unsignedPackage = createPackage();
    const Entries plain = *entriesOf(unsignedPackage);
    killRepeatedly(signArguments(), unsignedPackage, [&](const std::string& bytes) {
        auto entries = entriesOf(bytes);
        if (!entries || !entries->contains("META-INF/.digest") || !entries->contains("META-INF/.signature"))
            return false;
        const std::string digest = (*entries)["META-INF/.digest"];
        const std::string signature = (*entries)["META-INF/.signature"];
        entries->erase("META-INF/.digest");
        entries->erase("META-INF/.signature");
        return *entries == plain && opensslVerify(signature, digest).status == 0;
    });
}

TEST_F(KilledRun, DeleteSignatureLeavesTheSignedPackageOrTheBareOne) {
    const std::string unsignedPackage = createPackage();
    ASSERT_EQ(signXpk(signArguments()).status, 0);
    const std::string signedPackage = readFile(scratch / "out/plug.xpk");
    const Entries bare = *entriesOf(unsignedPackage);
    killRepeatedly({"deletesignature", "--package=out/plug.xpk"}, signedPackage,
                   [&](const std::string& bytes) { return entriesOf(bytes) == bare; });
}

TEST_F(KilledRun, CreateOverAnExistingPackageLeavesTheOldOrTheNewOne) {
    const std::string previous = createPackage();
    writeFile(scratch / "plug/lib/added.txt", "a new file in the next version\n");
    const Entries next = *entriesOf(createPackage());
    killRepeatedly({"create", "--source=plug", "--package=out/plug", "--delete"}, previous,
                   [&](const std::string& bytes) { return entriesOf(bytes) == next; });
}

TEST_F(KilledRun, TemporariesOfEndedRunsAreRemovedAndThoseOfLiveOnesKept) {
    createPackage();
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    waitpid(ended, nullptr, 0);
    const std::string abandoned = ".plug.xpk.partial-" + std::to_string(ended) + "-Ab12Cd";
    const std::string live = ".plug.xpk.partial-" + std::to_string(getpid()) + "-Ef34Gh";
    writeFile(scratch / "out" / abandoned, "left by a killed run");
    writeFile(scratch / "out" / live, "being written");
    writeFile(scratch / "out/.other.xpk.partial-1-Ij56Kl", "another package's");
    ASSERT_EQ(signXpk(signArguments()).status, 0);
    EXPECT_EQ(listing(scratch / "out"),
              (std::vector<std::string>{".other.xpk.partial-1-Ij56Kl", live, "plug.xpk"}));
}

} // namespace
} // namespace KX::Testing
