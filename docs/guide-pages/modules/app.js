// The page's main module: it imports another module, which fetches the data beside it.
import { readRegions } from "./lib/regions.js";

readRegions().then(
  (regions) => {
    document.getElementById("regions").innerHTML = regions.map((r) => "<li>" + r + "</li>").join("");
    tamrelDesk.postMessage("modules ran: " + regions.join(", "));
  },
  (error) => tamrelDesk.postMessage("could not read the regions: " + error.message)
);
