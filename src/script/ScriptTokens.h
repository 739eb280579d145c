// The parenthesised tokens of the setup script: the location tokens in the
// order they are replaced, the registry root and value-type tokens, and the
// two markers of [CopyFile] and [Registry] values.
#pragma once

#include <array>
#include <string_view>

namespace ScriptTokens {

inline constexpr std::array<std::string_view, 17> Locations = {
    "(App)", "(Prg)", "(Win)", "(Sys)", "(Tmp)",   "(Boo)",   "(Set)",   "(Edr)",   "(Smn)",
    "(Sta)", "(Dsk)", "(Sup)", "(Sen)", "(C_Smn)", "(C_Sta)", "(C_Dsk)", "(C_Sup)",
};

inline constexpr std::string_view CurrentUser = "(Cuser)";
inline constexpr std::string_view ClassesRoot = "(Class)";
inline constexpr std::string_view LocalMachine = "(Local)";
inline constexpr std::string_view Users = "(Users)";
inline constexpr std::array<std::string_view, 4> RegistryRoots = {CurrentUser, ClassesRoot, LocalMachine, Users};

inline constexpr std::string_view String = "(Str)";
inline constexpr std::string_view Integer = "(Int)";
inline constexpr std::string_view Dword = "(Dwd)";
inline constexpr std::string_view Binary = "(Bin)";
inline constexpr std::string_view ExpandString = "(Exp)";
inline constexpr std::array<std::string_view, 5> RegistryTypes = {String, Integer, Dword, Binary, ExpandString};

inline constexpr std::string_view DiskChange = "(Dch)";  // a [CopyFile] entry starts the next disk
inline constexpr std::string_view PathData = "(Pdd)";    // a [Registry] value that is a path

}  // namespace ScriptTokens
