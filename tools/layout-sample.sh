#!/usr/bin/env bash
# Lays out the sample distribution (samples/viewer) into BUILD_DIR/sample:
# the source folder's files and the sample binaries of the main build are
# gathered in sample/source, and `orvauthor layout` makes sample/dist from
# them with this build's SETUP.EXE (DISK1 and DISK2, since the script has a
# disk change). `orvauthor package` makes the one-file installer of the same
# source, sample/package/OrvaneSample.exe, with this build's ORVSTUB.EXE, and
# the same signed with osslsigncode (sample/signed/OrvaneSample.exe), with a
# test CA and code-signing certificate made here with openssl
# (sample/signed/signing/ca.crt is what verifies it). A second, tiny package (sample/tiny/OrvaneTiny.exe: one text file, no
# uninstall record, no restart, installable for all users or for one, so
# that its manifest has an installer for each) is what the e2e tests install to see a
# plain success come through the package. Run by tools/build.sh after the
# main build and the author tools.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
sample="$build/sample"
orvauthor="$build/author/native/orvauthor"

rm -rf "$sample/source" "$sample/dist" "$sample/package" "$sample/signed" "$sample/tiny"
mkdir -p "$sample/source" "$sample/package" "$sample/signed/signing" "$sample/tiny/source"
cp -p "$root/samples/viewer/source/"* "$sample/source/"
cp -p "$sample/binaries/SAMPLEVW.EXE" "$sample/binaries/ORVSMPL.DLL" "$sample/source/"
"$orvauthor" layout --setup-exe "$build/bin/SETUP.EXE" "$sample/source" "$sample/dist" >/dev/null
"$orvauthor" package --setup-exe "$build/bin/SETUP.EXE" --stub "$build/bin/ORVSTUB.EXE" \
             --url https://example.jp/orvane-sample/OrvaneSample.exe \
             "$sample/source" "$sample/package/OrvaneSample.exe" >/dev/null

# A test CA valid for a week, and a code-signing certificate it issued.
(
    cd "$sample/signed/signing"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 7 -subj "/CN=Orvane Sample Test CA" \
            -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign 2>/dev/null
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Orvane Sample Test Signer" \
            2>/dev/null
    printf '%s\n' basicConstraints=CA:FALSE keyUsage=critical,digitalSignature extendedKeyUsage=codeSigning \
           >signer.cnf
    openssl x509 -req -in signer.csr -CA ca.crt -CAkey ca.key -CAcreateserial -out signer.crt -days 7 \
            -extfile signer.cnf 2>/dev/null
)
signing="$sample/signed/signing"
"$orvauthor" package --setup-exe "$build/bin/SETUP.EXE" --stub "$build/bin/ORVSTUB.EXE" \
             --url https://example.jp/orvane-sample/OrvaneSample.exe \
             --sign "osslsigncode sign -certs '$signing/signer.crt' -key '$signing/signer.key' -h sha256 -n 'Orvane Sample' -in {file} -out {signed}" \
             "$sample/source" "$sample/signed/OrvaneSample.exe" >/dev/null

printf '%s\r\n' '[Title]' 'Setup=Orvane Tiny' 'UnSetup=Setup Only.' '[DefaultFolder]' 'Folder=(Prg)\Orvane Tiny' \
       '[Product]' 'Version=1.0' 'Publisher=Orvane' 'License=MIT' 'Description=The smallest package' 'Scope=Either' \
       '[CopyFile]' 'File1=(App)\TINY.TXT' >"$sample/tiny/source/SETUP.INI"
printf 'Orvane Tiny\r\n' >"$sample/tiny/source/TINY.TXT"
"$orvauthor" package --setup-exe "$build/bin/SETUP.EXE" --stub "$build/bin/ORVSTUB.EXE" \
             --url https://example.jp/orvane-tiny/OrvaneTiny.exe --id Orvane.Tiny \
             "$sample/tiny/source" "$sample/tiny/OrvaneTiny.exe" >/dev/null
