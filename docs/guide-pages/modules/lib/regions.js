// Reads regions.json from the app's folder, relative to this module.
export async function readRegions() {
  const response = await fetch(new URL("../regions.json", import.meta.url));
  if (!response.ok) throw new Error("HTTP " + response.status);
  return (await response.json()).regions;
}
