// (windows are added here)
