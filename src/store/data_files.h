#pragma once

#include "store/data_file.h"
#include "store/profile.h"
#include "store/stores.h"

namespace holvan {

/// directory + "/" + name.
NarrowText DataFilePath(std::string_view directory, std::string_view name);

/// Fills the stores from "brain.dat", "dic.dat", "res.dat" and "holv.dat" in
/// directory (each only when it exists) and returns the profile's fields; the
/// counters keep their defaults unless the profile's second line holds
/// something. A file that exists but cannot be read raises its error; stores
/// loaded before it stay loaded.
Profile LoadStores(std::string_view directory, Stores& stores);

/// Pads the profile's lines to seven and puts the seven fields in them.
void UpdateProfile(const Profile& fields, TextLines& profile);

/// Writes "holv.dat", "brain.dat" and "res.dat", in that order, each only when
/// it exists and start-up did not stop before reading it. A failing write
/// raises its error; later files are not written.
void SaveStores(std::string_view directory, const Stores& stores);

/// Removes from directory what saves of "holv.dat", "brain.dat", "res.dat",
/// "diary.dat" and "dic.dat" left there when their process was killed; for a
/// program that holds the folder's lock, before it loads anything.
void RemoveStaleDataTemporaries(std::string_view directory);

}  // namespace holvan
