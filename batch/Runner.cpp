// What every velmora-batch command shares: the per-file loop with its progress and failure
// lines, output naming, and the guard against overwriting an input.
#include "batch/Runner.h"

#include "raster/Errors.h"

#include <filesystem>
#include <iostream>
#include <new>

namespace fs = std::filesystem;

int RunForEachInput(const std::vector<std::string>& inputs, const FileJob& job) {
    const bool several = inputs.size() > 1;
    int failed = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string& input = inputs[i];
        std::string counter;
        if (several) {
            counter.append("[").append(std::to_string(i + 1)).append("/");
            counter.append(std::to_string(inputs.size())).append("] ");
        }
        try {
            const std::vector<std::string> written = job(input);
            if (several) {
                std::string line = counter + input + " ->";
                for (std::size_t k = 0; k < written.size(); ++k) {
                    line += (k == 0 ? " " : ", ") + written[k];
                }
                std::cerr << line << "\n";
            }
        } catch (const EOutOfResources& error) {
            std::cerr << counter << input << ": " << NotEnoughMemoryText(&error) << "\n";
            ++failed;
        } catch (const std::bad_alloc&) {
            std::cerr << counter << input << ": " << NotEnoughMemoryText(nullptr) << "\n";
            ++failed;
        } catch (const EVelmoraError& error) {
            std::cerr << counter << input << ": " << error.what() << "\n";
            ++failed;
        } catch (const BatchFailure& error) {
            std::cerr << counter << input << ": " << error.what() << "\n";
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

std::string NotEnoughMemoryText(const EOutOfResources* error) {
    std::string text = "too large for the memory available";
    if (const auto* known = dynamic_cast<const ENotEnoughMemory*>(error)) {
        constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
        text.append(" (needs about ").append(std::to_string((known->Needed() + kMiB - 1) / kMiB));
        text.append(" MiB, ").append(std::to_string(known->Available() / kMiB));
        text.append(" MiB available)");
    }
    return text;
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / fs::path(name).filename()).string();
}

std::string OutputFor(const Options& options, const std::string& input) {
    return options.Output ? *options.Output : InFolder(*options.OutDir, input);
}

void RefuseOverwritingInput(const std::string& input, const std::string& output) {
    std::error_code error;
    const bool same = fs::exists(output, error) ? fs::equivalent(input, output, error)
                                                : fs::weakly_canonical(input, error) ==
                                                      fs::weakly_canonical(output, error);
    if (same) {
        throw BatchFailure("refusing to overwrite the input with " + output);
    }
}

TColor BackgroundFor(const BackgroundChoice& choice, const TBitmap& picture,
                     const std::string& input) {
    switch (choice.From) {
    case BackgroundChoice::Kind::Colour:
        return choice.Colour;
    case BackgroundChoice::Kind::Pixel:
        if (choice.X >= picture.Width() || choice.Y >= picture.Height()) {
            throw UsageError("--background " + std::to_string(choice.X) + "," +
                             std::to_string(choice.Y) + " lies outside " + input + " (" +
                             std::to_string(picture.Width()) + " x " +
                             std::to_string(picture.Height()) + ")");
        }
        return picture.Pixel(choice.X, choice.Y);
    case BackgroundChoice::Kind::Default:
        break;
    }
    return clBlack;
}
