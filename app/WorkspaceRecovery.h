// The recovery copy of the fish workspace, wired to the program: started once at start-up, told
// of every change of the workspace's data, dropped when the workspace closes through its close
// handling, and flushed when the event loop ends.
#pragma once

// Starts keeping recovery copies for this run in the state folder, offers work a dead program
// left once the event loop runs, and writes what is pending when the loop ends. Recovery is off
// (said once on standard error) when the folder cannot be written.
void StartWorkspaceRecovery();

// Every change of the workspace's data calls this (a stroke's end, Erase, a load of shadows,
// undo, redo, a background pick, a save, a reloaded picture): a complete copy of the workspace
// is written in the background within 2 seconds. Does nothing while recovery is not started.
void ScheduleRecoveryWrite();

// The workspace closed through its close handling: its copy goes.
void DropRecoveryCopy();

// Asks whether to restore the newest work a dead program left unsaved and opens it on Yes; No
// removes it. The start runs this once the event loop is up.
void OfferLeftWork();

// Writes what is pending, waits for the disk, and stops keeping copies.
void StopWorkspaceRecovery();
